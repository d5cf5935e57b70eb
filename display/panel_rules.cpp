#include "display/panel_rules.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "display/format_decimals.h"
#include "display/plot_geometry.h"
#include "display/plot_math.h"
#include "processing/analysis_record.h"
#include "processing/number_text.h"
#include "ui/resource.h"

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

// The X marker panel's radio buttons, in the order of XMarkerChoice.
constexpr std::array<int, 3> kXMarkerButtons = {res::kXMarker1, res::kXMarker2, res::kXDelta};

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
  if (s.Show == DisplayChoice::ShowTorque)
    return {"TORQUE", s.ZoomTorque, r.TRQfiltMax, r.TRQfiltMin};
  if (s.Show == DisplayChoice::ShowPower) return {"POWER", s.ZoomPower, r.POTfiltMax, r.POTfiltMin};
  if (RpmInstShown(s)) return {"RPMinst", s.ZoomRpm, r.RPMinstMax, r.RPMinstMin};
  return {"RPM", s.ZoomRpm, r.RPMfiltMax, r.RPMfiltMin};
}
// The zoom the Y1 panel's Set changes: the one of the graph it shows.
double& Y1Zoom(DisplayState& s) {
  switch (s.Show) {
    case DisplayChoice::ShowTorque: return s.ZoomTorque;
    case DisplayChoice::ShowPower: return s.ZoomPower;
    default: return s.ZoomRpm;
  }
}

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
  Text(ops, X, res::kXTime, pick(&Marker::Time), 3);
  if (RpmFiltShown(s)) Text(ops, X, res::kXSpeed, pick(&Marker::RpmFilt), 2);
  if (RpmInstShown(s)) Text(ops, X, res::kXSpeed, pick(&Marker::RpmInst), 2);
  Text(ops, X, res::kXTorque, pick(&Marker::Trq), 2);
  Text(ops, X, res::kXPower, pick(&Marker::Pow), 2);
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
  const auto src = static_cast<int32_t>(r.FFTsource);
  const auto win = static_cast<int32_t>(r.FFTwindow);
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
      Text(ops, p, ids.max, torque ? r.TRQfiltMax : r.POTfiltMax, 1);
      Text(ops, p, ids.min, torque ? r.TRQfiltMin : r.POTfiltMin, 1);
      break;
    }
    case PanelId::X:
      Add(ops, p, {kXMarkerButtons[static_cast<int>(s.XMarkerSel)]}, ControlOp::Check);
      Text(ops, p, res::kXTorqueUnit, "Nm");
      Text(ops, p, res::kXPowerUnit, "kW");
      break;
    case PanelId::FftY:
      if (!FftShown(s)) break;
      Text(ops, p, res::kFftYZoom, s.ZoomFft, 3);
      Text(ops, p, res::kFftYTitle, FftPanelTitle(r));
      Text(ops, p, res::kFftYTotalEnergy, r.TotalEnergy, 4);
      Text(ops, p, res::kFftYDcValue, r.FFTre[0], 4);
      Text(ops, p, res::kFftYFloor, r.FloorLevel, 4);
      Text(ops, p, res::kFftYEvenSymErr, r.EvenSymErrRe, 4);
      Text(ops, p, res::kFftYOddSymErr, r.OddSymErrIm, 4);
      break;
    case PanelId::FftX:
      if (!FftShown(s)) break;
      Text(ops, p, res::kFftXFc, r.Fc, 2);
      Text(ops, p, res::kFftXCount, static_cast<double>(r.FFT_N), 0);
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
      if (FftShown(s)) zoom = &s.ZoomFft;
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
  const auto* button = std::find(kXMarkerButtons.begin(), kXMarkerButtons.end(), buttonId);
  if (button == kXMarkerButtons.end()) return ops;
  for (int id : kXMarkerButtons)
    Add(ops, X, {id}, id == buttonId ? ControlOp::Check : ControlOp::Uncheck);
  s.XMarkerSel = static_cast<XMarkerChoice>(button - kXMarkerButtons.begin());
  ShowTimeReadings(ops, s, s.XMarkerSel);
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
  s.YMarkerOn = {};
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
    s.YMarkerOn[own] = 0;
    Add(ops, p, {kYPanels[own].markerVal}, ControlOp::Disable);
    return ops;
  }
  for (int i = 0; i < 3; ++i) s.YMarkerOn[i] = i == own;
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
    const Marker& m = s.Markers[own];
    s.Markers[own].FftXOn = 0;
    Add(ops, FX, {mine.line, mine.freq, mine.ampl, mine.dB}, ControlOp::Disable);
    Text(ops, FX, mine.line, m.Line, 2);
    Text(ops, FX, mine.freq, m.Freq, 2);
    Text(ops, FX, mine.ampl, m.Ampl, 2);
    Text(ops, FX, mine.dB, m.dB, 2);
    return ops;
  }
  for (int i = 0; i < 2; ++i) {
    s.Markers[i].FftXOn = i == own;
    s.Markers[i].FftYOn = 0;
  }
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
    s.Markers[first ? 0 : 1].FftYOn = 0;
    Add(ops, FY, {first ? res::kFftYM1Ampl : res::kFftYM2Ampl}, ControlOp::Disable);
    return ops;
  }
  for (int i = 0; i < 2; ++i) {
    s.Markers[i].FftYOn = i == (first ? 0 : 1);
    s.Markers[i].FftXOn = 0;
  }
  s.YMarkerOn[2] = s.YMarkerOn[1] = s.TimeXMarkersOn = 0;
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
  s.TimeXMarkersOn = 0;
  s.YMarkerOn = {};
  for (Marker& m : s.Markers) m.FftXOn = m.FftYOn = 0;
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
Marker& SetMarkerAt(DisplayState& s, int marker, int x, int y) {
  Marker& m = s.Markers[marker == 1 ? 0 : 1];
  m.X = x;
  m.Y = y;
  return m;
}

void PlaceFftXMarker(ControlOps& ops, DisplayState& s, const PlotGeometry& g,
                     const AnalysisRecord& r, int marker, int x, int y, MarkerLines& lines) {
  Marker& m = SetMarkerAt(s, marker, x, y);
  lines.Set(marker == 1 ? MarkerLine::FftX1 : MarkerLine::FftX2, x);
  m.PrevFftX = x;
  const int32_t line = LineAtColumn(g, r, x);
  m.Line = line;
  m.Freq = r.FFTfreq[line];
  m.Ampl = LineMagnitudeAt(r, line);
  m.dB = DecibelsOf(m.Ampl, r);
  const FftXIds& f = kFftX[marker == 1 ? 0 : 1];
  const PanelId FX = PanelId::FftX;
  Text(ops, FX, f.line, m.Line, 2);
  Text(ops, FX, f.freq, m.Freq, 2);
  Text(ops, FX, f.ampl, m.Ampl, 2);
  Text(ops, FX, f.dB, m.dB, 3);
  const Marker& m1 = s.Markers[0];
  const Marker& m2 = s.Markers[1];
  Text(ops, FX, res::kFftXVarLines, m2.Line - m1.Line, 0);
  Text(ops, FX, res::kFftXVarFreq, m1.Freq - m2.Freq, 2);
  Text(ops, FX, res::kFftXVarAmpl, m1.Ampl - m2.Ampl, 2);
  Text(ops, FX, res::kFftXVardB, m1.dB - m2.dB, 3);
}

void PlaceFftYMarker(ControlOps& ops, DisplayState& s, const PlotGeometry& g,
                     const AnalysisRecord& r, int marker, int x, int y, MarkerLines& lines) {
  const bool m1 = marker == 1;
  Marker& m = SetMarkerAt(s, marker, x, y);
  lines.Set(m1 ? MarkerLine::FftY1 : MarkerLine::FftY2, y);
  m.PrevFftY = y;
  m.YAmpl = ValueAtRow(g.PlotHeight, y, g.Graph.Scale, g.Graph.Offset, 0.0);
  m.YdB = DecibelsOf(m.YAmpl, r);
  const PanelId FY = PanelId::FftY;
  Text(ops, FY, m1 ? res::kFftYM1Ampl : res::kFftYM2Ampl, m.YAmpl, 2);
  Text(ops, FY, m1 ? res::kFftYM1dB : res::kFftYM2dB, m.YdB, 3);
  Text(ops, FY, res::kFftYVarAmpl, s.Markers[0].YAmpl - s.Markers[1].YAmpl, 2);
  Text(ops, FY, res::kFftYVardB, s.Markers[0].YdB - s.Markers[1].YdB, 3);
}

void PlaceTimeXMarker(ControlOps& ops, DisplayState& s, const PlotGeometry& g,
                      const AnalysisRecord& r, int marker, int x, int y, MarkerLines& lines) {
  Marker& m = SetMarkerAt(s, marker, x, y);
  lines.Set(marker == 1 ? MarkerLine::TimeX1 : MarkerLine::TimeX2, x);
  m.PrevTimeX = x;
  const int32_t at = SampleAtColumn(g, r, x);
  const PanelId X = PanelId::X;
  m.Time = r.TprogrArr[at];
  Text(ops, X, res::kXTime, m.Time, 3);
  if (RpmInstShown(s)) {
    m.RpmInst = r.RPMinstArr[at];
    Text(ops, X, res::kXSpeed, m.RpmInst, 2);
  } else {
    m.RpmFilt = r.RPMfiltArr[at];
    Text(ops, X, res::kXSpeed, m.RpmFilt, 2);
  }
  m.Trq = r.TRQfiltArr[at];
  m.Pow = r.POTfiltArr[at];
  Text(ops, X, res::kXTorque, m.Trq, 2);
  Text(ops, X, res::kXPower, m.Pow, 2);
}

void PlaceYMarker(ControlOps& ops, DisplayState& s, const PlotGeometry& g, int band, int x,
                  int y, MarkerLines& lines) {
  Marker& m = SetMarkerAt(s, 1, x, y);
  lines.Set(MarkerLine::TimeY, y);
  s.PrevTimeY = y;
  const VerticalScale& v = ThreeGraphs(s) ? g.Bands[static_cast<size_t>(band)] : g.Graph;
  const double value = ValueAtRow(g.PlotHeight, y, v.Scale, v.Offset, v.Base);
  m.RpmFilt = value;
  Text(ops, kYPanels[band].panel, kYPanels[band].markerVal, value, 2);
}

}  // namespace

ControlOps PlaceMarkers(DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r, int x,
                        int y, MarkerLines& lines) {
  ControlOps ops;
  for (int marker : {1, 2})
    if (s.Markers[marker - 1].FftXOn) PlaceFftXMarker(ops, s, g, r, marker, x, y, lines);
  for (int marker : {1, 2})
    if (s.Markers[marker - 1].FftYOn) PlaceFftYMarker(ops, s, g, r, marker, x, y, lines);
  if (s.TimeXMarkersOn) {
    if (s.XMarkerSel == XMarkerChoice::Marker1) PlaceTimeXMarker(ops, s, g, r, 1, x, y, lines);
    if (s.XMarkerSel == XMarkerChoice::Marker2) PlaceTimeXMarker(ops, s, g, r, 2, x, y, lines);
  }
  for (int band = 0; band < 3; ++band)
    if (s.YMarkerOn[band]) PlaceYMarker(ops, s, g, band, x, y, lines);
  return ops;
}

XZoomResult XZoom(DisplayState& s, const LayoutRecord& l) {
  XZoomResult result;
  s.XZoomActive = 1;
  const int32_t x1 = s.Markers[0].X, x2 = s.Markers[1].X;
  const bool set1 = x1 != 0;
  const bool set2 = x2 != 0;
  if (!set1 && !set2) result.message = "Marker1 and Marker2 not set";
  else if (set1 && !set2) result.message = "Marker2 not set";
  else if (set1 && x1 > x2) result.message = "Marker1 greater than Marker2";
  const bool go = (set1 && set2 && x1 < x2) || (!set1 && set2);
  if (!go) return result;

  const double d = static_cast<double>(x2) - static_cast<double>(x1);
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
  s.TimeStart = at(oldTime, x1, s.ZoomBaseTime);
  s.TimeEnd = at(oldTime, x2, s.ZoomBaseTime);
  s.FftStart = at(oldFft, x1, s.ZoomBaseFft);
  s.FftEnd = at(oldFft, x2, s.ZoomBaseFft);
  result.zoomed = true;
  return result;
}

void ZoomBasesFromRanges(DisplayState& s) {
  s.ZoomBaseTime = s.TimeStart;
  s.ZoomBaseFft = s.FftStart;
}

void XRestore(DisplayState& s, const AnalysisRecord& r) {
  SetFullRange(s, r);
  s.Markers[0].X = s.Markers[1].X = 0;
  s.XZoomActive = 0;
}

std::optional<int> ScrollHorizontally(DisplayState& s, const AnalysisRecord& r, ScrollCode code) {
  double f;
  switch (code) {
    case ScrollCode::LineLeft:
    case ScrollCode::LineRight: f = 0.03; break;
    case ScrollCode::PageLeft:
    case ScrollCode::PageRight: f = 0.33; break;
    default: return std::nullopt;
  }
  const bool left = code == ScrollCode::LineLeft || code == ScrollCode::PageLeft;

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
  const int32_t timeSpan = move(s.TimeStart, s.TimeEnd, std::max<int32_t>(0, r.ProgrCount));
  const int32_t half = HalfSpectrum(r);
  const int32_t fftSpan = move(s.FftStart, s.FftEnd, half);

  const bool fft = FftShown(s);
  const int32_t span = fft ? fftSpan : timeSpan;
  const int32_t start = fft ? s.FftStart : s.TimeStart;
  const int32_t total = fft ? half : r.ProgrCount;
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
