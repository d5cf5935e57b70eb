#include "display/plot_painter.h"

#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <vector>

#include "display/plot_math.h"
#include "processing/analysis_record.h"

namespace tz {

namespace {

QPen SolidPen(const QColor& c) {
  QPen pen(c, 1, Qt::SolidLine, Qt::FlatCap);
  pen.setCosmetic(true);
  return pen;
}

QPen DottedPen(const QColor& c) {
  QPen pen(c, 1, Qt::DotLine, Qt::FlatCap);
  pen.setCosmetic(true);
  return pen;
}

const QColor& MarkerPenColour(MarkerLine m) {
  switch (ColourOf(m)) {
    case MarkerColour::Magenta:
      return plot_colour::kMarker1;
    case MarkerColour::Cyan:
      return plot_colour::kMarker2;
    case MarkerColour::Black:
      break;
  }
  return plot_colour::kMarkerY;
}

void DrawMarkerLines(QPainter& p, const LayoutRecord& l, const MarkerLines& lines) {
  for (int i = 0; i < kMarkerLineCount; ++i) {
    const auto m = static_cast<MarkerLine>(i);
    const auto at = lines.Get(m);
    if (!at) continue;
    p.setPen(DottedPen(MarkerPenColour(m)));
    if (IsVertical(m))
      p.drawLine(*at, l.PlotTop, *at, l.ClientHeight);
    else
      p.drawLine(0, *at, l.PlotWidth, *at);
  }
}

void DrawHorizontal(QPainter& p, const QColor& c, int y, int width) {
  p.setPen(SolidPen(c));
  p.drawLine(0, y, width, y);
}

// One curve of a time graph: a point per TimeStep samples, TimePixStep
// pixels apart, up to the first point past the right edge.
void DrawTimeCurve(QPainter& p, const DisplayState& s, const AnalysisRecord& r,
                   const LayoutRecord& l, const double* values, double scale, double offset,
                   double base, const QColor& colour) {
  const double H = l.PlotHeight;
  QPolygon points;
  points.reserve(std::min<int>(l.PlotWidth + 2, kSampleCapacity));
  int x = 0;
  for (int32_t progr = s.TimeStart + r.settings.MovAvgLen; progr < s.TimeEnd; progr += s.TimeStep) {
    points << QPoint(x, ValueToY(values[progr], scale, offset, base, H, l.PlotTop));
    if (x > l.PlotWidth) break;
    x += s.TimePixStep;
  }
  if (points.size() < 2) return;
  p.setPen(SolidPen(colour));
  p.drawPolyline(points);
}

void DrawSingleGraph(QPainter& p, DisplayState& s, const AnalysisRecord& r,
                     const LayoutRecord& l, TimeGraph g) {
  static const QColor* const kColours[] = {&plot_colour::kRpmFilt, &plot_colour::kRpmInst,
                                           &plot_colour::kTorque, &plot_colour::kPower};
  const TimeSeries t = SeriesOf(g, r, s);
  SetSingleGraphScale(s, l.PlotHeight, t);
  DrawTimeCurve(p, s, r, l, t.values, s.GraphScale, s.GraphOffset, 0.0,
                *kColours[static_cast<int>(g)]);
  DrawHorizontal(p, plot_colour::kZeroLine, PixelFromDouble(s.GraphOffset), l.PlotWidth);
}

void DrawBands(QPainter& p, DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l) {
  SetBandScales(s, l.PlotHeight, r);
  const TimeGraph graphs[3] = {s.Show3RpmInst ? TimeGraph::RpmInst : TimeGraph::RpmFilt,
                               TimeGraph::Torque, TimeGraph::Power};
  const QColor* colours[3] = {&plot_colour::kRpmFilt, &plot_colour::kTorque,
                              &plot_colour::kPower};
  const double scale[3] = {s.BandScale1, s.BandScale2, s.BandScale3};
  const double offset[3] = {s.BandOffset1, s.BandOffset2, s.BandOffset3};
  const double base[3] = {s.BandBase1, s.BandBase2, s.BandBase3};
  for (int i = 0; i < 3; ++i) {
    const TimeSeries t = SeriesOf(graphs[i], r, s);
    DrawTimeCurve(p, s, r, l, t.values, scale[i], offset[i], base[i], *colours[i]);
    const int zero = PixelFromDouble(l.PlotHeight - static_cast<double>(
                                                        PixelFromDouble(offset[i] + base[i])));
    DrawHorizontal(p, plot_colour::kZeroLine, zero, l.PlotWidth);
  }
}

bool IsHarmonic(int32_t k, int32_t fund) {
  if (k == fund) return true;
  if (k == 0 || fund <= 0) return false;
  const double q = static_cast<double>(k) / static_cast<double>(fund);
  return q == std::floor(q);
}

void DrawFft(QPainter& p, DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l) {
  const double H = l.PlotHeight;
  SetFftScale(s, H, r);
  const double scale = s.GraphScale, offset = s.GraphOffset;
  const int B = PixelFromDouble(H - static_cast<double>(PixelFromDouble(offset)));
  const bool envelope = s.FftEnvelope == 1 && !s.ShowHarmonicPeaks;

  QPolygon curve;
  std::vector<QLine> lines, harmonics;
  const int columns = std::min<int>(l.PlotWidth + 2, kSampleCapacity);
  (envelope ? curve.reserve(columns) : lines.reserve(columns));
  int x = 0;
  for (int32_t line = s.FftStart; line < s.FftEnd; line += s.FftStep) {
    double peak = 0.0;
    bool harmonic = false;
    const int32_t last = std::min<int32_t>(line + s.FftStep, kSampleCapacity);
    for (int32_t k = line; k < last; ++k) {
      const double mag = LineMagnitudeAt(r, k);
      const double v = scale * mag + offset;
      if (!s.ShowHarmonicPeaks) {
        if (v > peak) peak = (s.CleanSpectrum && mag <= r.spectrum.FloorLevel) ? offset : v;
        if (s.CleanSpectrum && k <= r.spectrum.DCEndLine) peak = offset;
      } else if (v > peak) {
        peak = scale * r.spectrum.SpecLines[k].mag + offset;
      }
      if (IsHarmonic(k, r.spectrum.FundLine)) harmonic = true;
    }
    const int y = peak > H ? l.PlotTop : PixelFromDouble(H - peak);
    if (envelope)
      curve << QPoint(x, y);
    else
      lines.emplace_back(x, B, x, y);
    if (harmonic && s.ShowHarmonics) harmonics.emplace_back(x, B, x, y);
    if (x > l.PlotWidth) break;
    x += s.FftPixStep;
  }
  p.setPen(SolidPen(plot_colour::kFft));
  if (envelope && curve.size() >= 2) p.drawPolyline(curve);
  if (!lines.empty()) p.drawLines(lines.data(), static_cast<int>(lines.size()));
  if (!harmonics.empty()) {
    p.setPen(SolidPen(plot_colour::kHarmonic));
    p.drawLines(harmonics.data(), static_cast<int>(harmonics.size()));
  }
  DrawHorizontal(p, plot_colour::kZeroLine, B, l.PlotWidth);
}

}  // namespace

void PaintPlot(QPainter& painter, DisplayState& s, const AnalysisRecord& r,
               const LayoutRecord& l, const MarkerLines& lines, const QColor& background) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(painter.window(), background);  // the whole surface, whatever its size
  DrawMarkerLines(painter, l, lines);
  if (!ComputeRanges(s, r, l)) return;
  if (s.ShowFft) DrawFft(painter, s, r, l);
  TimeGraph g;
  if (SingleGraphShown(s, &g)) DrawSingleGraph(painter, s, r, l, g);
  if (ThreeGraphs(s)) DrawBands(painter, s, r, l);
}

}  // namespace tz
