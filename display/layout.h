// The layout of the main window's client area: the plot window on the left,
// the panel column on the right, the toolbar strip at the foot of the column,
// and the panels stacked in the column. Plain numbers, so the rules are
// tested without a window; a rebuild and a resize place by the same rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tz {

constexpr int kPanelWidthFft = 320;   // panel column beside the FFT graph
constexpr int kPanelWidthTime = 162;  // panel column beside the time graphs

struct LayoutRecord {
  uint16_t ClientWidth = 0;
  uint16_t ClientHeight = 0;
  uint16_t PlotTop = 0;
  uint16_t PanelWidth = kPanelWidthFft;
  uint16_t PlotWidth = 0;
  uint16_t PlotHeight = 0;
  uint16_t ToolbarTop = 0;
};

// Width of the panel column for the graph shown.
inline int PanelWidthFor(bool showFft) { return showFft ? kPanelWidthFft : kPanelWidthTime; }

// Plot width: client width less the panel column, never below 0 (a client
// narrower than the column leaves the plot window empty, not wrapped).
uint16_t PlotWidthFor(int clientWidth, int panelWidth);

// The whole record for a client of the given size: what a resize computes.
// Sizes are held to 0..65535; heights that would go negative become 0.
LayoutRecord LayOut(int clientWidth, int clientHeight, int dlgUnitHeight, bool showFft);

struct Rect {
  int x, y, width, height;
};
// The plot window, the toolbar strip, and the panel column between the top
// of the plot and the strip.
Rect PlotWindowRect(const LayoutRecord& l);
Rect ToolbarRect(const LayoutRecord& l, int dlgUnitHeight);
Rect ColumnRect(const LayoutRecord& l);

// The panels of the column, top to bottom: each as high as its contents
// need, the one that fills taking what the column leaves over. When they
// need more than the column's height, each keeps its need and the column
// scrolls over their sum.
struct PanelSpan {
  int y, height;
  bool operator==(const PanelSpan&) const = default;
};
struct ColumnPlan {
  std::vector<PanelSpan> panels;
  int height = 0;        // of the panels together
  bool scrolls = false;  // taller than the column
};
ColumnPlan PlanColumn(std::span<const int> needs, size_t fill, int columnHeight);

// Minimum height of the main window while it is dragged: menu bar, one
// dialog unit, two sizing frames and four captions.
int MinTrackHeight(int menuHeight, int dlgUnitHeight, int frameHeight, int captionHeight);

}  // namespace tz
