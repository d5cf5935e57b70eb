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
  l.YPanelHeight = kYPanelHeight;
  l.XPanelHeight = kXPanelHeight;
  l.FftXPanelHeight = kFftXPanelHeight;
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

int MinTrackHeight(int menuHeight, int dlgUnitHeight, int frameHeight, int captionHeight) {
  return menuHeight + dlgUnitHeight + 2 * frameHeight + 4 * captionHeight;
}

}  // namespace tz
