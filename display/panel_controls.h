// The panels' controls as the rules address them, and the two ways a rule
// writes a change. Shared by the panel contents, the marker switches and the
// marker readings.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

#include "display/control_ops.h"
#include "ui/resource.h"

namespace tz {

// Changes of one kind for each of the controls of a panel.
void AddChanges(ControlOps& ops, PanelId p, std::initializer_list<int> ids, ControlOp::Kind kind);
template <size_t N>
void AddChanges(ControlOps& ops, PanelId p, const std::array<int, N>& ids, ControlOp::Kind kind) {
  for (int id : ids) ops.push_back({p, id, kind, {}});
}
// A number with its decimals (FormatDecimals), or a text, into a control.
void AddText(ControlOps& ops, PanelId p, int id, double value, int decimals);
void AddText(ControlOps& ops, PanelId p, int id, std::string text);

// The X marker panel's radio buttons, in the order of XMarkerChoice.
inline constexpr std::array<int, 3> kXMarkerButtons = {res::kXMarker1, res::kXMarker2,
                                                       res::kXDelta};
// The unit labels of the X marker panel's readings: enabled with their fields.
inline constexpr std::array<int, 4> kXUnits = {res::kXTimeUnit, res::kXSpeedUnit,
                                               res::kXTorqueUnit, res::kXPowerUnit};
// The X marker panel's controls that the Enable box enables: the buttons,
// the readings and their units.
inline constexpr std::array<int, 11> kXReadings = {
    res::kXMarker1, res::kXMarker2, res::kXDelta,      res::kXTime,       res::kXSpeed,
    res::kXTorque,  res::kXPower,   res::kXTimeUnit,   res::kXSpeedUnit,  res::kXTorqueUnit,
    res::kXPowerUnit};

// The controls of the three Y panels, Y1 to Y3.
struct YPanelIds {
  PanelId panel;
  int title, zoom, markerOn, markerVal, max, min;
};
inline constexpr std::array<YPanelIds, 3> kYPanels = {{
    {PanelId::Y1, res::kY1Title, res::kY1Zoom, res::kY1MarkerOn, res::kY1MarkerVal, res::kY1Max,
     res::kY1Min},
    {PanelId::Y2, res::kY2Title, res::kY2Zoom, res::kY2MarkerOn, res::kY2MarkerVal, res::kY2Max,
     res::kY2Min},
    {PanelId::Y3, res::kY3Title, res::kY3Zoom, res::kY3MarkerOn, res::kY3MarkerVal, res::kY3Max,
     res::kY3Min},
}};
// Position of a Y panel among the three (0 for any other panel).
inline size_t YIndex(PanelId p) { return p == PanelId::Y2 ? 1 : p == PanelId::Y3 ? 2 : 0; }

// The FFT X panel's switch and fields of each marker, and the fields of
// their variation.
struct FftXIds {
  int markerOn, line, freq, ampl, dB, order;
  constexpr std::array<int, 5> Fields() const { return {line, freq, ampl, dB, order}; }
};
inline constexpr std::array<FftXIds, 2> kFftX = {{
    {res::kFftXMarker1On, res::kFftXM1Line, res::kFftXM1Freq, res::kFftXM1Ampl, res::kFftXM1dB,
     res::kFftXM1Order},
    {res::kFftXMarker2On, res::kFftXM2Line, res::kFftXM2Freq, res::kFftXM2Ampl, res::kFftXM2dB,
     res::kFftXM2Order},
}};
inline constexpr std::array<int, 5> kFftXVariation = {res::kFftXVarLines, res::kFftXVarFreq,
                                                      res::kFftXVarAmpl, res::kFftXVardB,
                                                      res::kFftXVarOrder};
// The FFT Y panel's switch and fields of each marker.
struct FftYIds {
  int markerOn, ampl, dB;
};
inline constexpr std::array<FftYIds, 2> kFftY = {{
    {res::kFftYMarker1On, res::kFftYM1Ampl, res::kFftYM1dB},
    {res::kFftYMarker2On, res::kFftYM2Ampl, res::kFftYM2dB},
}};
// The FFT Y panel's value fields: marker 1, marker 2, variation.
inline constexpr std::array<int, 6> kFftYFields = {res::kFftYM1Ampl, res::kFftYM1dB,
                                                   res::kFftYM2Ampl, res::kFftYM2dB,
                                                   res::kFftYVarAmpl, res::kFftYVardB};

}  // namespace tz
