#include "display/marker_placement.h"

#include <cmath>

#include "display/orders.h"
#include "display/visible_data.h"

#include "display/panel_controls.h"
#include "display/plot_geometry.h"
#include "display/plot_math.h"
#include "processing/analysis_record.h"

namespace tz {

namespace {

// One click: where, what it reads by, and what it changes.
struct Click {
  DisplayState& s;
  const PlotGeometry& g;
  const AnalysisRecord& r;
  int x, y;
  MarkerLines& lines;
  ControlOps& ops;

  // Sets marker 1 or 2 at the click.
  Marker& SetMarker(int marker) const {
    Marker& m = s.Markers[marker == 1 ? 0 : 1];
    m.X = x;
    m.Y = y;
    return m;
  }
};

void PlaceFftXMarker(const Click& c, int marker) {
  Marker& m = c.SetMarker(marker);
  c.lines.Set(marker == 1 ? MarkerLine::FftX1 : MarkerLine::FftX2, c.x);
  m.PrevFftX = c.x;
  const int32_t line = LineAtColumn(c.g, c.r, c.x);
  m.Line = line;
  m.Freq = c.r.spectrum.FFTfreq[line];
  m.Ampl = LineMagnitudeAt(c.r, line);
  m.dB = DecibelsToDc(m.Ampl, c.r);
  const FftXIds& f = kFftX[marker == 1 ? 0 : 1];
  const PanelId FX = PanelId::FftX;
  AddText(c.ops, FX, f.line, m.Line, 2);
  AddText(c.ops, FX, f.freq, m.Freq, 2);
  AddText(c.ops, FX, f.ampl, m.Ampl, 2);
  AddText(c.ops, FX, f.dB, m.dB, 3);
  AddText(c.ops, FX, f.order, OrderOfLine(m.Line, c.r), 3);
  const Marker& m1 = c.s.Markers[0];
  const Marker& m2 = c.s.Markers[1];
  AddText(c.ops, FX, res::kFftXVarLines, m2.Line - m1.Line, 0);
  AddText(c.ops, FX, res::kFftXVarFreq, m1.Freq - m2.Freq, 2);
  AddText(c.ops, FX, res::kFftXVarAmpl, m1.Ampl - m2.Ampl, 2);
  AddText(c.ops, FX, res::kFftXVardB, m1.dB - m2.dB, 3);
  AddText(c.ops, FX, res::kFftXVarOrder, OrderOfLine(m2.Line - m1.Line, c.r), 3);
}

void PlaceFftYMarker(const Click& c, int marker) {
  Marker& m = c.SetMarker(marker);
  c.lines.Set(marker == 1 ? MarkerLine::FftY1 : MarkerLine::FftY2, c.y);
  m.PrevFftY = c.y;
  m.YAmpl = ValueAtRow(c.g.PlotHeight, c.y, c.g.Graph.Scale, c.g.Graph.Offset, 0.0);
  m.YdB = DecibelsToDc(m.YAmpl, c.r);
  const FftYIds& f = kFftY[marker == 1 ? 0 : 1];
  const Marker& m1 = c.s.Markers[0];
  const Marker& m2 = c.s.Markers[1];
  AddText(c.ops, PanelId::FftY, f.ampl, m.YAmpl, 2);
  AddText(c.ops, PanelId::FftY, f.dB, m.YdB, 3);
  AddText(c.ops, PanelId::FftY, res::kFftYVarAmpl, m1.YAmpl - m2.YAmpl, 2);
  AddText(c.ops, PanelId::FftY, res::kFftYVardB, m1.YdB - m2.YdB, 3);
}

void PlaceTimeXMarker(const Click& c, int marker) {
  Marker& m = c.SetMarker(marker);
  c.lines.Set(marker == 1 ? MarkerLine::TimeX1 : MarkerLine::TimeX2, c.x);
  m.PrevTimeX = c.x;
  const int32_t at = SampleAtColumn(c.g, c.r, c.x);
  const PanelId X = PanelId::X;
  m.Time = c.r.samples.TprogrArr[at];
  AddText(c.ops, X, res::kXTime, m.Time, 3);
  if (RpmInstShown(c.s)) {
    m.RpmInst = c.r.samples.RPMinstArr[at];
    AddText(c.ops, X, res::kXSpeed, m.RpmInst, 2);
  } else {
    m.RpmFilt = c.r.samples.RPMfiltArr[at];
    AddText(c.ops, X, res::kXSpeed, m.RpmFilt, 2);
  }
  m.Trq = c.r.samples.TRQfiltArr[at];
  m.Pow = c.r.samples.POTfiltArr[at];
  AddText(c.ops, X, res::kXTorque, m.Trq, 2);
  AddText(c.ops, X, res::kXPower, m.Pow, 2);
}

// The Y marker of a band (0..2), or of the single graph: a marker-1 kind.
void PlaceYMarker(const Click& c, size_t band) {
  c.SetMarker(1);
  c.lines.Set(MarkerLine::TimeY, c.y);
  c.s.PrevTimeY = c.y;
  const VerticalScale& v = ThreeGraphs(c.s) ? c.g.Bands[band] : c.g.Graph;
  const double value = ValueAtRow(c.g.PlotHeight, c.y, v.Scale, v.Offset, v.Base);
  c.s.YMarkerValue[band] = value;
  AddText(c.ops, kYPanels[band].panel, kYPanels[band].markerVal, value, 2);
}

}  // namespace

ControlOps PlaceMarkers(DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r, int x,
                        int y, MarkerLines& lines) {
  ControlOps ops;
  const Click c{s, g, r, x, y, lines, ops};
  for (int marker : {1, 2})
    if (s.Markers[marker - 1].FftXOn) PlaceFftXMarker(c, marker);
  for (int marker : {1, 2})
    if (s.Markers[marker - 1].FftYOn) PlaceFftYMarker(c, marker);
  if (s.TimeXMarkersOn) {
    if (s.XMarkerSel == XMarkerChoice::Marker1) PlaceTimeXMarker(c, 1);
    if (s.XMarkerSel == XMarkerChoice::Marker2) PlaceTimeXMarker(c, 2);
  }
  for (size_t band = 0; band < s.YMarkerOn.size(); ++band)
    if (s.YMarkerOn[band]) PlaceYMarker(c, band);
  return ops;
}

}  // namespace tz
