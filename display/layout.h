// The layout record of the main window's client area: the plot window on the
// left, the panel column on the right, the toolbar strip at the foot of the
// column. Plain numbers, so the rule is tested without a window.
#pragma once

#include <cstdint>

namespace tz {

constexpr int kPanelWidthFft = 320;   // panel column beside the FFT graph
constexpr int kPanelWidthTime = 162;  // panel column beside the time graphs
constexpr int kYPanelHeight = 155;     // a Y panel of the three-graph display
constexpr int kXPanelHeight = 185;     // the X marker panel at the foot of the column
constexpr int kFftXPanelHeight = 330;  // the FFT X panel at the foot of the column

struct LayoutRecord {
  uint16_t ClientWidth = 0;
  uint16_t ClientHeight = 0;
  uint16_t PlotTop = 0;
  uint16_t PanelWidth = kPanelWidthFft;
  uint16_t PlotWidth = 0;
  uint16_t PlotHeight = 0;
  uint16_t YPanelHeight = kYPanelHeight;
  uint16_t XPanelHeight = kXPanelHeight;
  uint16_t FftXPanelHeight = kFftXPanelHeight;
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

// Rectangles of the two windows a resize moves.
struct Rect {
  int x, y, width, height;
};
Rect PlotWindowRect(const LayoutRecord& l);
Rect ToolbarRect(const LayoutRecord& l, int dlgUnitHeight);

// Minimum height of the main window while it is dragged: menu bar, one
// dialog unit, two sizing frames and four captions.
int MinTrackHeight(int menuHeight, int dlgUnitHeight, int frameHeight, int captionHeight);

}  // namespace tz
