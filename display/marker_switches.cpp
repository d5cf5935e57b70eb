#include "display/marker_switches.h"

#include <algorithm>
#include <array>
#include <span>

#include "display/panel_controls.h"

namespace tz {

namespace {

// The marker of a switch's number: 1 is Markers[0], 2 is Markers[1].
size_t MarkerIndex(int marker) { return marker == 2 ? 1 : 0; }

// The four readings of a time X marker, or their difference.
void ShowTimeReadings(ControlOps& ops, const DisplayState& s, XMarkerChoice which) {
  const PanelId X = PanelId::X;
  const Marker& m1 = s.Markers[0];
  const Marker& m2 = s.Markers[1];
  auto pick = [which, &m1, &m2](double Marker::*reading) {
    switch (which) {
      case XMarkerChoice::Marker1: return m1.*reading;
      case XMarkerChoice::Marker2: return m2.*reading;
      case XMarkerChoice::Delta: break;
    }
    return m1.*reading - m2.*reading;
  };
  AddText(ops, X, res::kXTime, pick(&Marker::Time), 3);
  // The speed a click reads: the unfiltered RPM beside its curve, else the filtered.
  AddText(ops, X, res::kXSpeed, pick(RpmInstShown(s) ? &Marker::RpmInst : &Marker::RpmFilt), 2);
  AddText(ops, X, res::kXTorque, pick(&Marker::Trq), 2);
  AddText(ops, X, res::kXPower, pick(&Marker::Pow), 2);
}

// Fields disabled and set to one blank.
void Blank(ControlOps& ops, PanelId p, std::span<const int> ids) {
  for (int id : ids) ops.push_back({p, id, ControlOp::Disable, {}});
  for (int id : ids) AddText(ops, p, id, " ");
}

}  // namespace

ControlOps SelectXMarker(DisplayState& s, int buttonId) {
  ControlOps ops;
  const auto* button = std::find(kXMarkerButtons.begin(), kXMarkerButtons.end(), buttonId);
  if (button == kXMarkerButtons.end()) return ops;
  for (int id : kXMarkerButtons)
    AddChanges(ops, PanelId::X, {id}, id == buttonId ? ControlOp::Check : ControlOp::Uncheck);
  s.XMarkerSel = static_cast<XMarkerChoice>(button - kXMarkerButtons.begin());
  ShowTimeReadings(ops, s, s.XMarkerSel);
  return ops;
}

ControlOps SwitchTimeXMarkers(DisplayState& s, bool on) {
  ControlOps ops;
  if (!on) {
    s.TimeXMarkersOn = 0;
    AddChanges(ops, PanelId::X, kXReadings, ControlOp::Disable);
    return ops;
  }
  s.TimeXMarkersOn = 1;
  s.YMarkerOn = {};
  AddChanges(ops, PanelId::X, kXReadings, ControlOp::Enable);
  for (const YPanelIds& y : kYPanels) {
    AddChanges(ops, y.panel, {y.markerVal}, ControlOp::Disable);
    AddChanges(ops, y.panel, {y.markerOn}, ControlOp::Uncheck);
  }
  return ops;
}

ControlOps SwitchYMarker(DisplayState& s, PanelId p, bool on) {
  ControlOps ops;
  if (p != PanelId::Y1 && p != PanelId::Y2 && p != PanelId::Y3) return ops;
  const size_t own = YIndex(p);
  if (!on) {
    s.YMarkerOn[own] = 0;
    AddChanges(ops, p, {kYPanels[own].markerVal}, ControlOp::Disable);
    return ops;
  }
  for (size_t i = 0; i < kYPanels.size(); ++i) s.YMarkerOn[i] = i == own;
  s.TimeXMarkersOn = 0;
  AddChanges(ops, PanelId::X, kXReadings, ControlOp::Disable);
  AddChanges(ops, PanelId::X, {res::kXEnable}, ControlOp::Uncheck);
  AddChanges(ops, p, {kYPanels[own].markerVal}, ControlOp::Enable);
  for (size_t i = 0; i < kYPanels.size(); ++i) {
    if (i == own) continue;
    AddChanges(ops, kYPanels[i].panel, {kYPanels[i].markerVal}, ControlOp::Disable);
    AddChanges(ops, kYPanels[i].panel, {kYPanels[i].markerOn}, ControlOp::Uncheck);
  }
  return ops;
}

ControlOps SwitchFftXMarker(DisplayState& s, int marker, bool on) {
  ControlOps ops;
  const PanelId FX = PanelId::FftX;
  const size_t own = MarkerIndex(marker);
  const FftXIds& mine = kFftX[own];
  const FftXIds& other = kFftX[1 - own];
  Marker& m = s.Markers[own];
  if (!on) {
    m.FftXOn = 0;
    AddChanges(ops, FX, mine.Fields(), ControlOp::Disable);
    AddText(ops, FX, mine.line, m.Line, 2);
    AddText(ops, FX, mine.freq, m.Freq, 2);
    AddText(ops, FX, mine.ampl, m.Ampl, 2);
    AddText(ops, FX, mine.dB, m.dB, 2);
    return ops;
  }
  for (size_t i = 0; i < s.Markers.size(); ++i) {
    s.Markers[i].FftXOn = i == own;
    s.Markers[i].FftYOn = 0;
  }
  AddChanges(ops, FX, mine.Fields(), ControlOp::Enable);
  AddChanges(ops, FX, kFftXVariation, ControlOp::Enable);
  AddChanges(ops, FX, {other.markerOn}, ControlOp::Uncheck);
  AddChanges(ops, FX, other.Fields(), ControlOp::Disable);
  AddChanges(ops, PanelId::FftY, {kFftY[0].markerOn, kFftY[1].markerOn}, ControlOp::Uncheck);
  AddChanges(ops, PanelId::FftY, kFftYFields, ControlOp::Disable);
  return ops;
}

ControlOps SwitchFftYMarker(DisplayState& s, int marker, bool on) {
  ControlOps ops;
  const PanelId FY = PanelId::FftY;
  const size_t own = MarkerIndex(marker);
  const FftYIds& mine = kFftY[own];
  const FftYIds& other = kFftY[1 - own];
  if (!on) {
    s.Markers[own].FftYOn = 0;
    AddChanges(ops, FY, {mine.ampl}, ControlOp::Disable);
    return ops;
  }
  for (size_t i = 0; i < s.Markers.size(); ++i) {
    s.Markers[i].FftYOn = i == own;
    s.Markers[i].FftXOn = 0;
  }
  s.YMarkerOn[2] = s.YMarkerOn[1] = s.TimeXMarkersOn = 0;  // Y1's stays as it is
  for (const FftXIds& f : kFftX) AddChanges(ops, PanelId::FftX, f.Fields(), ControlOp::Disable);
  AddChanges(ops, PanelId::FftX, kFftXVariation, ControlOp::Disable);
  AddChanges(ops, PanelId::FftX, {kFftX[0].markerOn, kFftX[1].markerOn}, ControlOp::Uncheck);
  AddChanges(ops, FY, {mine.ampl, mine.dB, res::kFftYVarAmpl, res::kFftYVardB}, ControlOp::Enable);
  AddChanges(ops, FY, {other.ampl, other.dB}, ControlOp::Disable);
  AddChanges(ops, FY, {other.markerOn}, ControlOp::Uncheck);
  return ops;
}

ControlOps ClearMarkerSwitches(DisplayState& s) {
  s.TimeXMarkersOn = 0;
  s.YMarkerOn = {};
  for (Marker& m : s.Markers) m.FftXOn = m.FftYOn = 0;
  ControlOps ops;
  for (const YPanelIds& y : kYPanels) {
    AddChanges(ops, y.panel, {y.markerOn}, ControlOp::Uncheck);
    Blank(ops, y.panel, std::array{y.markerVal});
  }
  AddChanges(ops, PanelId::X, {res::kXEnable}, ControlOp::Uncheck);
  Blank(ops, PanelId::X, std::array{res::kXTime, res::kXSpeed, res::kXTorque, res::kXPower});
  AddChanges(ops, PanelId::X, kXUnits, ControlOp::Disable);
  AddChanges(ops, PanelId::FftX, {kFftX[0].markerOn, kFftX[1].markerOn}, ControlOp::Uncheck);
  for (const FftXIds& f : kFftX) Blank(ops, PanelId::FftX, f.Fields());
  Blank(ops, PanelId::FftX, kFftXVariation);
  AddChanges(ops, PanelId::FftY, {kFftY[0].markerOn, kFftY[1].markerOn}, ControlOp::Uncheck);
  Blank(ops, PanelId::FftY, kFftYFields);
  return ops;
}

}  // namespace tz
