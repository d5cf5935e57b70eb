#include "display/panel_contents.h"

#include "display/panel_controls.h"
#include "processing/analysis_record.h"
#include "processing/number_text.h"

namespace tz {

namespace {

// What the Y1 panel shows in each time display: title, zoom, statistics.
struct Y1View {
  const char* title;
  double zoom;
  double max, min;
};
Y1View Y1ViewOf(const DisplayState& s, const AnalysisRecord& r) {
  if (s.Show == DisplayChoice::ShowTorque)
    return {"TORQUE", s.ZoomTorque, r.stats.TRQfiltMax, r.stats.TRQfiltMin};
  if (s.Show == DisplayChoice::ShowPower) return {"POWER", s.ZoomPower, r.stats.POTfiltMax, r.stats.POTfiltMin};
  if (RpmInstShown(s)) return {"RPMinst", s.ZoomRpm, r.stats.RPMinstMax, r.stats.RPMinstMin};
  return {"RPM", s.ZoomRpm, r.stats.RPMfiltMax, r.stats.RPMfiltMin};
}

// The zoom a panel's Set changes, or nullptr: the Y1 panel's is the one of
// the graph it shows; the FFT Y panel has one only beside the FFT graph.
double* ZoomOf(DisplayState& s, PanelId p) {
  switch (p) {
    case PanelId::Y1:
      if (s.Show == DisplayChoice::ShowTorque) return &s.ZoomTorque;
      if (s.Show == DisplayChoice::ShowPower) return &s.ZoomPower;
      return &s.ZoomRpm;
    case PanelId::Y2: return &s.ZoomTorque;
    case PanelId::Y3: return &s.ZoomPower;
    case PanelId::FftY: return FftShown(s) ? &s.ZoomFft : nullptr;
    case PanelId::X:
    case PanelId::FftX: break;
  }
  return nullptr;
}

void FillY1(ControlOps& ops, const DisplayState& s, const AnalysisRecord& r) {
  const PanelId p = PanelId::Y1;
  const Y1View v = Y1ViewOf(s, r);
  AddText(ops, p, res::kY1Title, v.title);
  AddText(ops, p, res::kY1Zoom, v.zoom, 3);
  AddText(ops, p, res::kY1Max, v.max, 1);
  AddText(ops, p, res::kY1Min, v.min, 1);
}

// Y2 (torque) and Y3 (power): the zoom always, the rest with three graphs.
void FillY2OrY3(ControlOps& ops, PanelId p, const DisplayState& s, const AnalysisRecord& r) {
  const bool torque = p == PanelId::Y2;
  const YPanelIds& ids = kYPanels[YIndex(p)];
  AddText(ops, p, ids.zoom, torque ? s.ZoomTorque : s.ZoomPower, 3);
  if (!ThreeGraphs(s)) return;
  AddText(ops, p, ids.title, torque ? "TORQUE" : "POWER");
  AddText(ops, p, ids.max, torque ? r.stats.TRQfiltMax : r.stats.POTfiltMax, 1);
  AddText(ops, p, ids.min, torque ? r.stats.TRQfiltMin : r.stats.POTfiltMin, 1);
}

void FillX(ControlOps& ops, const DisplayState& s) {
  const PanelId p = PanelId::X;
  AddChanges(ops, p, {kXMarkerButtons[static_cast<size_t>(s.XMarkerSel)]}, ControlOp::Check);
  AddText(ops, p, res::kXTorqueUnit, "Nm");
  AddText(ops, p, res::kXPowerUnit, "kW");
}

void FillFftY(ControlOps& ops, const DisplayState& s, const AnalysisRecord& r) {
  const PanelId p = PanelId::FftY;
  AddText(ops, p, res::kFftYZoom, s.ZoomFft, 3);
  AddText(ops, p, res::kFftYTitle, FftPanelTitle(r));
  AddText(ops, p, res::kFftYTotalEnergy, r.spectrum.TotalEnergy, 4);
  AddText(ops, p, res::kFftYDcValue, r.spectrum.FFTre[0], 4);
  AddText(ops, p, res::kFftYFloor, r.spectrum.FloorLevel, 4);
  AddText(ops, p, res::kFftYEvenSymErr, r.spectrum.EvenSymErrRe, 4);
  AddText(ops, p, res::kFftYOddSymErr, r.spectrum.OddSymErrIm, 4);
}

void FillFftX(ControlOps& ops, const AnalysisRecord& r) {
  const PanelId p = PanelId::FftX;
  AddText(ops, p, res::kFftXFc, r.stats.Fc, 2);
  AddText(ops, p, res::kFftXCount, static_cast<double>(r.spectrum.FFT_N), 0);
}

}  // namespace

bool PanelShown(const DisplayState& s, PanelId p) {
  switch (p) {
    case PanelId::Y1:
    case PanelId::X:
      return !FftShown(s);
    case PanelId::Y2:
    case PanelId::Y3:
      return ThreeGraphs(s);
    case PanelId::FftY:
    case PanelId::FftX:
      return FftShown(s);
  }
  return false;
}

std::string FftPanelTitle(const AnalysisRecord& r) {
  const auto src = static_cast<int32_t>(r.settings.FFTsource);
  const auto win = static_cast<int32_t>(r.settings.FFTwindow);
  std::string title;
  for (const FftSourceInfo& i : kFftSources)
    if (static_cast<int32_t>(i.source) == src) title = i.panelText;
  for (const FftWindowInfo& i : kFftWindows)
    if (static_cast<int32_t>(i.window) == win) title += i.panelText;
  return title;
}

ControlOps FillPanel(PanelId p, const DisplayState& s, const AnalysisRecord& r) {
  ControlOps ops;
  switch (p) {
    case PanelId::Y1: FillY1(ops, s, r); break;
    case PanelId::Y2:
    case PanelId::Y3: FillY2OrY3(ops, p, s, r); break;
    case PanelId::X: FillX(ops, s); break;
    case PanelId::FftY:
      if (FftShown(s)) FillFftY(ops, s, r);
      break;
    case PanelId::FftX:
      if (FftShown(s)) FillFftX(ops, r);
      break;
  }
  return ops;
}

bool ApplyZoomText(DisplayState& s, PanelId p, const std::string& text) {
  const std::string t = text.substr(0, kZoomTextChars);
  const double value = ReadDecimalReal(t.data(), t.size());
  double* zoom = ZoomOf(s, p);
  if (zoom == nullptr || *zoom == value) return false;
  *zoom = value;
  return true;
}

}  // namespace tz
