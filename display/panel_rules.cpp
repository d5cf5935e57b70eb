#include "display/panel_rules.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "app/resource.h"
#include "display/format_decimals.h"
#include "display/plot_math.h"
#include "processing/analysis_record.h"
#include "processing/number_text.h"

namespace tz {

namespace {

using Ids = std::initializer_list<int>;

void Add(ControlOps& ops, PanelId p, Ids ids, ControlOp::Kind kind) {
  for (int id : ids) ops.push_back({p, id, kind, {}});
}
void Text(ControlOps& ops, PanelId p, int id, double value, int decimals) {
  ops.push_back({p, id, ControlOp::SetText, FormatDecimals(value, decimals)});
}
void Text(ControlOps& ops, PanelId p, int id, std::string text) {
  ops.push_back({p, id, ControlOp::SetText, std::move(text)});
}

// 10 x log10 of a magnitude against the DC line; 0 without a DC line to
// compare with (no spectrum yet, or an empty one).
double DecibelsOf(double magnitude, const AnalysisRecord& r) {
  const double dc = LineMagnitudeAt(r, 0);
  if (dc == 0.0) return 0.0;
  return 10.0 * std::log10(magnitude / dc);
}

// The controls of the time X markers' readings in the X marker panel.
constexpr Ids kXReadings = {res::kXMarker1, res::kXMarker2, res::kXDelta, res::kXTime,
                            res::kXSpeed,   res::kXTorque,  res::kXPower};

struct YPanelIds {
  PanelId panel;
  int title, zoom, markerOn, markerVal, max, min;
};
constexpr YPanelIds kYPanels[3] = {
    {PanelId::Y1, res::kY1Title, res::kY1Zoom, res::kY1MarkerOn, res::kY1MarkerVal, res::kY1Max,
     res::kY1Min},
    {PanelId::Y2, res::kY2Title, res::kY2Zoom, res::kY2MarkerOn, res::kY2MarkerVal, res::kY2Max,
     res::kY2Min},
    {PanelId::Y3, res::kY3Title, res::kY3Zoom, res::kY3MarkerOn, res::kY3MarkerVal, res::kY3Max,
     res::kY3Min},
};
int YIndex(PanelId p) { return p == PanelId::Y1 ? 0 : p == PanelId::Y2 ? 1 : 2; }
int* YSwitch(DisplayState& s, int i) {
  return i == 0 ? &s.Y1MarkerOn : i == 1 ? &s.Y2MarkerOn : &s.Y3MarkerOn;
}

// FFT X panel fields of each marker and of their variation.
struct FftXIds {
  int line, freq, ampl, dB;
};
constexpr FftXIds kFftX[2] = {
    {res::kFftXM1Line, res::kFftXM1Freq, res::kFftXM1Ampl, res::kFftXM1dB},
    {res::kFftXM2Line, res::kFftXM2Freq, res::kFftXM2Ampl, res::kFftXM2dB},
};
constexpr Ids kFftXVariation = {res::kFftXVarLines, res::kFftXVarFreq, res::kFftXVarAmpl,
                                res::kFftXVardB};
constexpr Ids kFftYFields = {res::kFftYM1Ampl, res::kFftYM1dB, res::kFftYM2Ampl,
                             res::kFftYM2dB,   res::kFftYVarAmpl, res::kFftYVardB};

// What the Y1 panel shows in each time display: title, zoom, statistics.
struct Y1View {
  const char* title;
  double zoom;
  double max, min;
};
Y1View Y1ViewOf(const DisplayState& s, const AnalysisRecord& r) {
  if (s.ShowTorque) return {"TORQUE", s.ZoomTorque, r.stats.TRQfiltMax, r.stats.TRQfiltMin};
  if (s.ShowPower) return {"POWER", s.ZoomPower, r.stats.POTfiltMax, r.stats.POTfiltMin};
  if (s.Show3RpmInst || s.ShowRpmInst)
    return {"RPMinst", s.ZoomRpm, r.stats.RPMinstMax, r.stats.RPMinstMin};
  return {"RPM", s.ZoomRpm, r.stats.RPMfiltMax, r.stats.RPMfiltMin};
}
// The zoom the Y1 panel's Set changes: the one of the graph it shows.
double& Y1Zoom(DisplayState& s) {
  return s.ShowTorque ? s.ZoomTorque : s.ShowPower ? s.ZoomPower : s.ZoomRpm;
}

// The four readings of a time X marker, or their difference.
void ShowTimeReadings(ControlOps& ops, const DisplayState& s, int which) {
  const PanelId X = PanelId::X;
  auto pick = [which](double m1, double m2) {
    return which == 1 ? m1 : which == 2 ? m2 : m1 - m2;
  };
  Text(ops, X, res::kXTime, pick(s.M1Time, s.M2Time), 3);
  if (s.ShowRpmFilt || s.Show3RpmFilt)
    Text(ops, X, res::kXSpeed, pick(s.M1RpmFilt, s.M2RpmFilt), 2);
  if (s.ShowRpmInst || s.Show3RpmInst)
    Text(ops, X, res::kXSpeed, pick(s.M1RpmInst, s.M2RpmInst), 2);
  Text(ops, X, res::kXTorque, pick(s.M1Trq, s.M2Trq), 2);
  Text(ops, X, res::kXPower, pick(s.M1Pow, s.M2Pow), 2);
}

}  // namespace

bool PanelShown(const DisplayState& s, PanelId p) {
  switch (p) {
    case PanelId::Y1:
    case PanelId::X:
      return !s.ShowFft;
    case PanelId::Y2:
    case PanelId::Y3:
      return !s.ShowFft && ThreeGraphs(s);
    case PanelId::FftY:
    case PanelId::FftX:
      return s.ShowFft != 0;
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
    case PanelId::Y1: {
      const Y1View v = Y1ViewOf(s, r);
      Text(ops, p, res::kY1Title, v.title);
      Text(ops, p, res::kY1Zoom, v.zoom, 3);
      Text(ops, p, res::kY1Max, v.max, 1);
      Text(ops, p, res::kY1Min, v.min, 1);
      break;
    }
    case PanelId::Y2:
    case PanelId::Y3: {
      const bool torque = p == PanelId::Y2;
      const YPanelIds& ids = kYPanels[YIndex(p)];
      Text(ops, p, ids.zoom, torque ? s.ZoomTorque : s.ZoomPower, 3);
      if (!ThreeGraphs(s)) break;
      Text(ops, p, ids.title, torque ? "TORQUE" : "POWER");
      Text(ops, p, ids.max, torque ? r.stats.TRQfiltMax : r.stats.POTfiltMax, 1);
      Text(ops, p, ids.min, torque ? r.stats.TRQfiltMin : r.stats.POTfiltMin, 1);
      break;
    }
    case PanelId::X:
      if (s.XMarkerSel1) Add(ops, p, {res::kXMarker1}, ControlOp::Check);
      if (s.XMarkerSel2) Add(ops, p, {res::kXMarker2}, ControlOp::Check);
      if (s.XMarkerDelta) Add(ops, p, {res::kXDelta}, ControlOp::Check);
      Text(ops, p, res::kXTorqueUnit, "Nm");
      Text(ops, p, res::kXPowerUnit, "kW");
      break;
    case PanelId::FftY:
      if (!s.ShowFft) break;
      Text(ops, p, res::kFftYZoom, s.ZoomFft, 3);
      Text(ops, p, res::kFftYTitle, FftPanelTitle(r));
      Text(ops, p, res::kFftYTotalEnergy, r.spectrum.TotalEnergy, 4);
      Text(ops, p, res::kFftYDcValue, r.spectrum.FFTre[0], 4);
      Text(ops, p, res::kFftYFloor, r.spectrum.FloorLevel, 4);
      Text(ops, p, res::kFftYEvenSymErr, r.spectrum.EvenSymErrRe, 4);
      Text(ops, p, res::kFftYOddSymErr, r.spectrum.OddSymErrIm, 4);
      break;
    case PanelId::FftX:
      if (!s.ShowFft) break;
      Text(ops, p, res::kFftXFc, r.stats.Fc, 2);
      Text(ops, p, res::kFftXCount, static_cast<double>(r.spectrum.FFT_N), 0);
      break;
  }
  return ops;
}

bool ApplyZoomText(DisplayState& s, PanelId p, const std::string& text) {
  const std::string t = text.substr(0, 9);
  const double value = ReadDecimalReal(t.data(), t.size());
  double* zoom = nullptr;
  switch (p) {
    case PanelId::Y1:
      zoom = &Y1Zoom(s);
      break;
    case PanelId::Y2:
      zoom = &s.ZoomTorque;
      break;
    case PanelId::Y3:
      zoom = &s.ZoomPower;
      break;
    case PanelId::FftY:
      if (s.ShowFft) zoom = &s.ZoomFft;
      break;
    default:
      break;
  }
  if (zoom == nullptr || *zoom == value) return false;
  *zoom = value;
  return true;
}

ControlOps SelectXMarker(DisplayState& s, int buttonId) {
  ControlOps ops;
  const PanelId X = PanelId::X;
  int which = 0;
  if (buttonId == res::kXMarker1) which = 1;
  else if (buttonId == res::kXMarker2) which = 2;
  else if (buttonId != res::kXDelta) return ops;
  for (int id : {res::kXMarker1, res::kXMarker2, res::kXDelta})
    Add(ops, X, {id}, id == buttonId ? ControlOp::Check : ControlOp::Uncheck);
  s.XMarkerSel1 = which == 1;
  s.XMarkerSel2 = which == 2;
  s.XMarkerDelta = which == 0;
  ShowTimeReadings(ops, s, which);
  return ops;
}

ControlOps SwitchTimeXMarkers(DisplayState& s, bool on) {
  ControlOps ops;
  if (!on) {
    s.TimeXMarkersOn = 0;
    Add(ops, PanelId::X, kXReadings, ControlOp::Disable);
    return ops;
  }
  s.TimeXMarkersOn = 1;
  s.Y1MarkerOn = s.Y2MarkerOn = s.Y3MarkerOn = 0;
  Add(ops, PanelId::X, kXReadings, ControlOp::Enable);
  for (const YPanelIds& y : kYPanels) {
    Add(ops, y.panel, {y.markerVal}, ControlOp::Disable);
    Add(ops, y.panel, {y.markerOn}, ControlOp::Uncheck);
  }
  return ops;
}

ControlOps SwitchYMarker(DisplayState& s, PanelId p, bool on) {
  ControlOps ops;
  if (p != PanelId::Y1 && p != PanelId::Y2 && p != PanelId::Y3) return ops;
  const int own = YIndex(p);
  if (!on) {
    *YSwitch(s, own) = 0;
    Add(ops, p, {kYPanels[own].markerVal}, ControlOp::Disable);
    return ops;
  }
  for (int i = 0; i < 3; ++i) *YSwitch(s, i) = i == own;
  s.TimeXMarkersOn = 0;
  Add(ops, PanelId::X, kXReadings, ControlOp::Disable);
  Add(ops, PanelId::X, {res::kXEnable}, ControlOp::Uncheck);
  Add(ops, p, {kYPanels[own].markerVal}, ControlOp::Enable);
  for (int i = 0; i < 3; ++i) {
    if (i == own) continue;
    Add(ops, kYPanels[i].panel, {kYPanels[i].markerVal}, ControlOp::Disable);
    Add(ops, kYPanels[i].panel, {kYPanels[i].markerOn}, ControlOp::Uncheck);
  }
  return ops;
}

ControlOps SwitchFftXMarker(DisplayState& s, int marker, bool on) {
  ControlOps ops;
  const PanelId FX = PanelId::FftX;
  const int own = marker == 2 ? 1 : 0;
  const FftXIds& mine = kFftX[own];
  const FftXIds& other = kFftX[1 - own];
  if (!on) {
    (own == 0 ? s.FftXMarker1On : s.FftXMarker2On) = 0;
    Add(ops, FX, {mine.line, mine.freq, mine.ampl, mine.dB}, ControlOp::Disable);
    const bool m1 = own == 0;
    Text(ops, FX, mine.line, m1 ? s.M1Line : s.M2Line, 2);
    Text(ops, FX, mine.freq, m1 ? s.M1Freq : s.M2Freq, 2);
    Text(ops, FX, mine.ampl, m1 ? s.M1Ampl : s.M2Ampl, 2);
    Text(ops, FX, mine.dB, m1 ? s.M1dB : s.M2dB, 2);
    return ops;
  }
  s.FftXMarker1On = own == 0;
  s.FftXMarker2On = own == 1;
  s.FftYMarker1On = s.FftYMarker2On = 0;
  Add(ops, FX, {mine.line, mine.freq, mine.ampl, mine.dB}, ControlOp::Enable);
  Add(ops, FX, kFftXVariation, ControlOp::Enable);
  Add(ops, FX, {own == 0 ? res::kFftXMarker2On : res::kFftXMarker1On}, ControlOp::Uncheck);
  Add(ops, FX, {other.line, other.freq, other.ampl, other.dB}, ControlOp::Disable);
  Add(ops, PanelId::FftY, {res::kFftYMarker1On, res::kFftYMarker2On}, ControlOp::Uncheck);
  Add(ops, PanelId::FftY, kFftYFields, ControlOp::Disable);
  return ops;
}

ControlOps SwitchFftYMarker(DisplayState& s, int marker, bool on) {
  ControlOps ops;
  const PanelId FY = PanelId::FftY;
  const bool first = marker != 2;
  if (!on) {
    (first ? s.FftYMarker1On : s.FftYMarker2On) = 0;
    Add(ops, FY, {first ? res::kFftYM1Ampl : res::kFftYM2Ampl}, ControlOp::Disable);
    return ops;
  }
  s.FftYMarker1On = first;
  s.FftYMarker2On = !first;
  s.Y3MarkerOn = s.Y2MarkerOn = s.TimeXMarkersOn = 0;
  s.FftXMarker1On = s.FftXMarker2On = 0;
  for (const FftXIds& f : kFftX)
    Add(ops, PanelId::FftX, {f.line, f.freq, f.ampl, f.dB}, ControlOp::Disable);
  Add(ops, PanelId::FftX, kFftXVariation, ControlOp::Disable);
  Add(ops, PanelId::FftX, {res::kFftXMarker1On, res::kFftXMarker2On}, ControlOp::Uncheck);
  if (first) {
    Add(ops, FY, {res::kFftYM1Ampl, res::kFftYM1dB, res::kFftYVarAmpl, res::kFftYVardB},
        ControlOp::Enable);
    Add(ops, FY, {res::kFftYM2Ampl, res::kFftYM2dB}, ControlOp::Disable);
    Add(ops, FY, {res::kFftYMarker2On}, ControlOp::Uncheck);
  } else {
    Add(ops, FY, {res::kFftYM2Ampl, res::kFftYM2dB, res::kFftYVarAmpl, res::kFftYVardB},
        ControlOp::Enable);
    Add(ops, FY, {res::kFftYM1Ampl, res::kFftYM1dB}, ControlOp::Disable);
    Add(ops, FY, {res::kFftYMarker1On}, ControlOp::Uncheck);
  }
  return ops;
}

ControlOps ClearMarkerSwitches(DisplayState& s) {
  s.TimeXMarkersOn = s.Y1MarkerOn = s.Y2MarkerOn = s.Y3MarkerOn = 0;
  s.FftXMarker1On = s.FftXMarker2On = s.FftYMarker1On = s.FftYMarker2On = 0;
  ControlOps ops;
  auto blank = [&ops](PanelId p, Ids ids) {
    Add(ops, p, ids, ControlOp::Disable);
    for (int id : ids) Text(ops, p, id, " ");
  };
  for (const YPanelIds& y : kYPanels) {
    Add(ops, y.panel, {y.markerOn}, ControlOp::Uncheck);
    blank(y.panel, {y.markerVal});
  }
  Add(ops, PanelId::X, {res::kXEnable}, ControlOp::Uncheck);
  blank(PanelId::X, {res::kXTime, res::kXSpeed, res::kXTorque, res::kXPower});
  Add(ops, PanelId::FftX, {res::kFftXMarker1On, res::kFftXMarker2On}, ControlOp::Uncheck);
  for (const FftXIds& f : kFftX) blank(PanelId::FftX, {f.line, f.freq, f.ampl, f.dB});
  blank(PanelId::FftX, kFftXVariation);
  Add(ops, PanelId::FftY, {res::kFftYMarker1On, res::kFftYMarker2On}, ControlOp::Uncheck);
  blank(PanelId::FftY, kFftYFields);
  return ops;
}

bool IsVertical(MarkerLine m) {
  return m == MarkerLine::TimeX1 || m == MarkerLine::TimeX2 || m == MarkerLine::FftX1 ||
         m == MarkerLine::FftX2;
}

MarkerColour ColourOf(MarkerLine m) {
  switch (m) {
    case MarkerLine::TimeX1:
    case MarkerLine::FftX1:
    case MarkerLine::FftY1:
      return MarkerColour::Magenta;
    case MarkerLine::TimeX2:
    case MarkerLine::FftX2:
    case MarkerLine::FftY2:
      return MarkerColour::Cyan;
    case MarkerLine::TimeY:
      break;
  }
  return MarkerColour::Black;
}

namespace {

// Where a click set a marker-1 or marker-2 kind of marker.
void SetMarkerAt(DisplayState& s, bool first, int x, int y) {
  (first ? s.Marker1X : s.Marker2X) = x;
  (first ? s.Marker1Y : s.Marker2Y) = y;
}

void PlaceFftXMarker(ControlOps& ops, DisplayState& s, const AnalysisRecord& r, int marker, int x,
                     int y, MarkerLines& lines) {
  const bool m1 = marker == 1;
  SetMarkerAt(s, m1, x, y);
  lines.Set(m1 ? MarkerLine::FftX1 : MarkerLine::FftX2, x);
  (m1 ? s.PrevFftM1X : s.PrevFftM2X) = x;
  const int32_t line = LineAtColumn(s, r, x);
  double& mLine = m1 ? s.M1Line : s.M2Line;
  double& mFreq = m1 ? s.M1Freq : s.M2Freq;
  double& mAmpl = m1 ? s.M1Ampl : s.M2Ampl;
  double& mdB = m1 ? s.M1dB : s.M2dB;
  mLine = line;
  mFreq = r.spectrum.FFTfreq[line];
  mAmpl = LineMagnitudeAt(r, line);
  mdB = DecibelsOf(mAmpl, r);
  const FftXIds& f = kFftX[m1 ? 0 : 1];
  const PanelId FX = PanelId::FftX;
  Text(ops, FX, f.line, mLine, 2);
  Text(ops, FX, f.freq, mFreq, 2);
  Text(ops, FX, f.ampl, mAmpl, 2);
  Text(ops, FX, f.dB, mdB, 3);
  Text(ops, FX, res::kFftXVarLines, s.M2Line - s.M1Line, 0);
  Text(ops, FX, res::kFftXVarFreq, s.M1Freq - s.M2Freq, 2);
  Text(ops, FX, res::kFftXVarAmpl, s.M1Ampl - s.M2Ampl, 2);
  Text(ops, FX, res::kFftXVardB, s.M1dB - s.M2dB, 3);
}

void PlaceFftYMarker(ControlOps& ops, DisplayState& s, const AnalysisRecord& r, double H,
                     int marker, int x, int y, MarkerLines& lines) {
  const bool m1 = marker == 1;
  SetMarkerAt(s, m1, x, y);
  lines.Set(m1 ? MarkerLine::FftY1 : MarkerLine::FftY2, y);
  (m1 ? s.PrevFftY1 : s.PrevFftY2) = y;
  double& ampl = m1 ? s.Y1Ampl : s.Y2Ampl;
  double& dB = m1 ? s.Y1dB : s.Y2dB;
  ampl = ValueAtRow(H, y, s.GraphScale, s.GraphOffset, 0.0);
  dB = DecibelsOf(ampl, r);
  const PanelId FY = PanelId::FftY;
  Text(ops, FY, m1 ? res::kFftYM1Ampl : res::kFftYM2Ampl, ampl, 2);
  Text(ops, FY, m1 ? res::kFftYM1dB : res::kFftYM2dB, dB, 3);
  Text(ops, FY, res::kFftYVarAmpl, s.Y1Ampl - s.Y2Ampl, 2);
  Text(ops, FY, res::kFftYVardB, s.Y1dB - s.Y2dB, 3);
}

void PlaceTimeXMarker(ControlOps& ops, DisplayState& s, const AnalysisRecord& r, int marker,
                      int x, int y, MarkerLines& lines) {
  const bool m1 = marker == 1;
  SetMarkerAt(s, m1, x, y);
  lines.Set(m1 ? MarkerLine::TimeX1 : MarkerLine::TimeX2, x);
  (m1 ? s.PrevTimeM1X : s.PrevTimeM2X) = x;
  const int32_t at = SampleAtColumn(s, r, x);
  const PanelId X = PanelId::X;
  double& time = m1 ? s.M1Time : s.M2Time;
  time = r.samples.TprogrArr[at];
  Text(ops, X, res::kXTime, time, 3);
  if (RpmInstShown(s)) {
    double& rpm = m1 ? s.M1RpmInst : s.M2RpmInst;
    rpm = r.samples.RPMinstArr[at];
    Text(ops, X, res::kXSpeed, rpm, 2);
  } else {
    double& rpm = m1 ? s.M1RpmFilt : s.M2RpmFilt;
    rpm = r.samples.RPMfiltArr[at];
    Text(ops, X, res::kXSpeed, rpm, 2);
  }
  double& trq = m1 ? s.M1Trq : s.M2Trq;
  double& pow = m1 ? s.M1Pow : s.M2Pow;
  trq = r.samples.TRQfiltArr[at];
  pow = r.samples.POTfiltArr[at];
  Text(ops, X, res::kXTorque, trq, 2);
  Text(ops, X, res::kXPower, pow, 2);
}

void PlaceYMarker(ControlOps& ops, DisplayState& s, double H, int band, int x, int y,
                  MarkerLines& lines) {
  SetMarkerAt(s, true, x, y);
  lines.Set(MarkerLine::TimeY, y);
  s.PrevTimeY = y;
  double value;
  if (ThreeGraphs(s)) {
    const double scale[3] = {s.BandScale1, s.BandScale2, s.BandScale3};
    const double offset[3] = {s.BandOffset1, s.BandOffset2, s.BandOffset3};
    const double base[3] = {s.BandBase1, s.BandBase2, s.BandBase3};
    value = ValueAtRow(H, y, scale[band], offset[band], base[band]);
  } else {
    value = ValueAtRow(H, y, s.GraphScale, s.GraphOffset, 0.0);
  }
  s.M1RpmFilt = value;
  Text(ops, kYPanels[band].panel, kYPanels[band].markerVal, value, 2);
}

}  // namespace

ControlOps PlaceMarkers(DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l, int x,
                        int y, MarkerLines& lines) {
  ControlOps ops;
  const double H = l.PlotHeight;
  if (s.FftXMarker1On) PlaceFftXMarker(ops, s, r, 1, x, y, lines);
  if (s.FftXMarker2On) PlaceFftXMarker(ops, s, r, 2, x, y, lines);
  if (s.FftYMarker1On) PlaceFftYMarker(ops, s, r, H, 1, x, y, lines);
  if (s.FftYMarker2On) PlaceFftYMarker(ops, s, r, H, 2, x, y, lines);
  if (s.TimeXMarkersOn) {
    if (s.XMarkerSel1) PlaceTimeXMarker(ops, s, r, 1, x, y, lines);
    if (s.XMarkerSel2) PlaceTimeXMarker(ops, s, r, 2, x, y, lines);
  }
  if (s.Y1MarkerOn) PlaceYMarker(ops, s, H, 0, x, y, lines);
  if (s.Y2MarkerOn) PlaceYMarker(ops, s, H, 1, x, y, lines);
  if (s.Y3MarkerOn) PlaceYMarker(ops, s, H, 2, x, y, lines);
  return ops;
}

XZoomResult XZoom(DisplayState& s, const LayoutRecord& l) {
  XZoomResult result;
  s.XZoomActive = 1;
  const bool set1 = s.Marker1X != 0;
  const bool set2 = s.Marker2X != 0;
  if (!set1 && !set2) result.message = "Marker1 and Marker2 not set";
  else if (set1 && !set2) result.message = "Marker2 not set";
  else if (set1 && s.Marker1X > s.Marker2X) result.message = "Marker1 greater than Marker2";
  const bool go = (set1 && set2 && s.Marker1X < s.Marker2X) || (!set1 && set2);
  if (!go) return result;

  const double d = static_cast<double>(s.Marker2X) - static_cast<double>(s.Marker1X);
  const double W = l.PlotWidth;
  auto newStep = [d, W](int32_t step) {
    const int v = W > 0 ? PixelFromDouble(step * d / W) : 0;
    return v > 0 ? static_cast<int32_t>(v) : 1;
  };
  const int32_t oldTime = s.TimeStep, oldFft = s.FftStep;
  s.TimeStep = newStep(oldTime);
  s.FftStep = newStep(oldFft);
  auto at = [](int32_t step, int32_t marker, int32_t base) {
    const int64_t v = static_cast<int64_t>(step) * marker + base;
    return static_cast<int32_t>(std::clamp<int64_t>(v, 0, INT32_MAX));
  };
  s.TimeStart = at(oldTime, s.Marker1X, s.ZoomBaseTime);
  s.TimeEnd = at(oldTime, s.Marker2X, s.ZoomBaseTime);
  s.FftStart = at(oldFft, s.Marker1X, s.ZoomBaseFft);
  s.FftEnd = at(oldFft, s.Marker2X, s.ZoomBaseFft);
  result.zoomed = true;
  return result;
}

void ZoomBasesFromRanges(DisplayState& s) {
  s.ZoomBaseTime = s.TimeStart;
  s.ZoomBaseFft = s.FftStart;
}

void XRestore(DisplayState& s, const AnalysisRecord& r) {
  SetFullRange(s, r);
  s.Marker1X = s.Marker2X = 0;
  s.XZoomActive = 0;
}

std::optional<int> ScrollHorizontally(DisplayState& s, const AnalysisRecord& r, int code) {
  double f;
  if (code == 0 || code == 1) f = 0.03;
  else if (code == 2 || code == 3) f = 0.33;
  else return std::nullopt;
  const bool left = code == 0 || code == 2;

  auto move = [f, left](int32_t& start, int32_t& end, int32_t limit) {
    const int32_t span = end - start;
    const int32_t step = std::max(1, PixelFromDouble(span * f));
    if (left) {
      if (start - step > 0) {
        start -= step;
        end -= step;
      } else {
        start = 0;
        end = span;
      }
    } else {
      if (end + step < limit) {
        start += step;
        end += step;
      } else {
        end = limit;
        start = limit - span;
      }
    }
    return span;
  };
  const int32_t timeSpan =
      move(s.TimeStart, s.TimeEnd, std::max<int32_t>(0, r.counters.ProgrCount));
  const int32_t half = HalfSpectrum(r);
  const int32_t fftSpan = move(s.FftStart, s.FftEnd, half);

  const int32_t span = s.ShowFft ? fftSpan : timeSpan;
  const int32_t start = s.ShowFft ? s.FftStart : s.TimeStart;
  const int32_t total = s.ShowFft ? half : r.counters.ProgrCount;
  if (total <= 0) return 0;
  return std::clamp(PixelFromDouble(100.0 * (span / 2 + start) / total), 0, 100);
}

int SetUpVerticalScroll(DisplayState& s, int h, int lineHeight) {
  s.VScrollMax = std::max(0, 250 * lineHeight - h);
  int excess = 0;
  if (s.VScrollPos > s.VScrollMax) {
    excess = s.VScrollPos - s.VScrollMax;
    s.VScrollPos = s.VScrollMax;
  }
  return excess;
}

}  // namespace tz
