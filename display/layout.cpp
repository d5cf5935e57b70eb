#include "display/layout.h"

#include <algorithm>

namespace tz {

namespace {
uint16_t Clamp16(double v) {
  if (!(v > 0.0)) return 0;
  if (v > 65535.0) return 65535;
  return static_cast<uint16_t>(v);  // truncation toward zero
}
}  // namespace

uint16_t PlotWidthFor(int clientWidth, int panelWidth) {
  return Clamp16(static_cast<double>(clientWidth) - static_cast<double>(panelWidth));
}

LayoutRecord LayOut(int clientWidth, int clientHeight, int dlgUnitHeight, bool showFft) {
  LayoutRecord l;
  l.ClientWidth = Clamp16(clientWidth);
  l.ClientHeight = Clamp16(clientHeight);
  l.PlotHeight = Clamp16(static_cast<double>(l.ClientHeight) - dlgUnitHeight);
  l.PlotTop = 0;
  l.PanelWidth = static_cast<uint16_t>(PanelWidthFor(showFft));
  l.PlotWidth = PlotWidthFor(l.ClientWidth, l.PanelWidth);
  l.ToolbarTop = l.PlotHeight;
  return l;
}

Rect PlotWindowRect(const LayoutRecord& l) { return {0, l.PlotTop, l.PlotWidth, l.ClientHeight}; }

Rect ToolbarRect(const LayoutRecord& l, int dlgUnitHeight) {
  return {l.PlotWidth, l.ToolbarTop, l.PanelWidth, std::max(0, dlgUnitHeight)};
}

Rect ColumnRect(const LayoutRecord& l) {
  return {l.PlotWidth, l.PlotTop, l.PanelWidth, std::max(0, l.ToolbarTop - l.PlotTop)};
}

ColumnPlan PlanColumn(std::span<const int> needs, size_t fill, int columnHeight) {
  ColumnPlan plan;
  int sum = 0;
  for (int need : needs) sum += std::max(0, need);
  plan.scrolls = sum > columnHeight;
  const int extra = plan.scrolls ? 0 : columnHeight - sum;
  int y = 0;
  for (size_t i = 0; i < needs.size(); ++i) {
    const int height = std::max(0, needs[i]) + (i == fill ? extra : 0);
    plan.panels.push_back({y, height});
    y += height;
  }
  plan.height = y;
  return plan;
}

int MinTrackHeight(int menuHeight, int dlgUnitHeight, int frameHeight, int captionHeight) {
  return menuHeight + dlgUnitHeight + 2 * frameHeight + 4 * captionHeight;
}

}  // namespace tz
