#include "display/plot_painter.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

#include "display/plot_math.h"
#include "display/rulers.h"
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

void DrawMarkerLines(QPainter& p, const PlotGeometry& g, const MarkerLines& lines) {
  for (int i = 0; i < kMarkerLineCount; ++i) {
    const auto m = static_cast<MarkerLine>(i);
    const auto at = lines.Get(m);
    if (!at) continue;
    p.setPen(DottedPen(MarkerPenColour(m)));
    if (IsVertical(m))
      p.drawLine(*at, g.PlotTop, *at, g.ClientHeight);
    else
      p.drawLine(0, *at, g.PlotWidth, *at);
  }
}

void DrawHorizontal(QPainter& p, const QColor& c, int y, int width) {
  p.setPen(SolidPen(c));
  p.drawLine(0, y, width, y);
}

// One curve of a time graph: a step per TimeStep samples, TimePixStep pixels
// apart, up to the first step past the right edge. Each step is a vertical
// stroke over the rows of all the samples it stands for, entered at the row
// of its first sample and left at the row of its last, so a ripple faster
// than the steps shows as the band it fills, not as slow cycles picked from
// it. With one sample a step the curve is the polyline through the samples.
void DrawTimeCurve(QPainter& p, const PlotGeometry& g, const double* values,
                   const VerticalScale& v, const QColor& colour) {
  const double H = g.PlotHeight;
  const auto row = [&](int32_t progr) {
    return ValueToY(values[progr], v.Scale, v.Offset, v.Base, H, g.PlotTop);
  };
  QPolygon points;
  points.reserve(std::min<int>(4 * (g.PlotWidth + 2), kSampleCapacity));
  const auto add = [&points](int x, int y) {
    if (points.isEmpty() || points.constLast() != QPoint(x, y)) points << QPoint(x, y);
  };
  int x = 0;
  for (int32_t progr = g.FirstProgr; progr < g.TimeEnd; progr += g.TimeStep) {
    const auto end = static_cast<int32_t>(std::min<int64_t>(int64_t{progr} + g.TimeStep, g.TimeEnd));
    const int first = row(progr);
    int top = first, bottom = first, last = first;
    for (int32_t i = progr + 1; i < end; ++i) {
      last = row(i);
      top = std::min(top, last);
      bottom = std::max(bottom, last);
    }
    add(x, first);
    add(x, top);
    add(x, bottom);
    add(x, last);
    if (x > g.PlotWidth) break;
    x += g.TimePixStep;
  }
  if (points.size() < 2) return;
  p.setPen(SolidPen(colour));
  p.drawPolyline(points);
}

void DrawSingleGraph(QPainter& p, const DisplayState& s, const PlotGeometry& g,
                     const AnalysisRecord& r, TimeGraph graph) {
  static const QColor* const kColours[] = {&plot_colour::kRpmFilt, &plot_colour::kRpmInst,
                                           &plot_colour::kTorque, &plot_colour::kPower};
  const TimeSeries t = SeriesOf(graph, r, s);
  DrawTimeCurve(p, g, t.values, g.Graph, *kColours[static_cast<int>(graph)]);
  DrawHorizontal(p, plot_colour::kZeroLine, PixelFromDouble(g.Graph.Offset), g.PlotWidth);
}

void DrawBands(QPainter& p, const DisplayState& s, const PlotGeometry& g,
               const AnalysisRecord& r) {
  const std::array<TimeGraph, 3> graphs = BandGraphs(s);
  const QColor* colours[3] = {&plot_colour::kRpmFilt, &plot_colour::kTorque,
                              &plot_colour::kPower};
  for (size_t i = 0; i < graphs.size(); ++i) {
    const VerticalScale& band = g.Bands[i];
    const TimeSeries t = SeriesOf(graphs[i], r, s);
    DrawTimeCurve(p, g, t.values, band, *colours[i]);
    const int zero = PixelFromDouble(g.PlotHeight - static_cast<double>(
                                                        PixelFromDouble(band.Offset + band.Base)));
    DrawHorizontal(p, plot_colour::kZeroLine, zero, g.PlotWidth);
  }
}

bool IsHarmonic(int32_t k, int32_t fund) {
  if (k == fund) return true;
  if (k == 0 || fund <= 0) return false;
  const double q = static_cast<double>(k) / static_cast<double>(fund);
  return q == std::floor(q);
}

// One drawn column of the FFT graph: the peak of its FftStep lines, in
// pixels above the bottom, and whether a harmonic line is among them.
struct FftColumn {
  double peak = 0.0;
  bool harmonic = false;
};

FftColumn GatherColumn(const DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r,
                       int32_t line) {
  const double scale = g.Graph.Scale, offset = g.Graph.Offset;
  FftColumn c;
  const int32_t last = std::min<int32_t>(line + g.FftStep, kSampleCapacity);
  for (int32_t k = line; k < last; ++k) {
    const double mag = LineMagnitudeAt(r, k);
    const double v = scale * mag + offset;
    if (!s.ShowHarmonicPeaks) {
      if (v > c.peak) c.peak = (s.CleanSpectrum && mag <= r.spectrum.FloorLevel) ? offset : v;
      if (s.CleanSpectrum && k <= r.spectrum.DCEndLine) c.peak = offset;
    } else if (v > c.peak) {
      c.peak = scale * r.spectrum.SpecLines[k].mag + offset;
    }
    if (IsHarmonic(k, r.spectrum.FundLine)) c.harmonic = true;
  }
  return c;
}

void DrawFft(QPainter& p, const DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r) {
  const double H = g.PlotHeight;
  const int B = PixelFromDouble(H - static_cast<double>(PixelFromDouble(g.Graph.Offset)));
  const bool envelope = s.FftEnvelope == 1 && !s.ShowHarmonicPeaks;

  QPolygon curve;
  std::vector<QLine> lines, harmonics;
  const int columns = std::min<int>(g.PlotWidth + 2, kSampleCapacity);
  (envelope ? curve.reserve(columns) : lines.reserve(columns));
  int x = 0;
  for (int32_t line = g.FftStart; line < g.FftEnd; line += g.FftStep) {
    const FftColumn c = GatherColumn(s, g, r, line);
    const int y = c.peak > H ? g.PlotTop : PixelFromDouble(H - c.peak);
    if (envelope)
      curve << QPoint(x, y);
    else
      lines.emplace_back(x, B, x, y);
    if (c.harmonic && s.ShowHarmonics) harmonics.emplace_back(x, B, x, y);
    if (x > g.PlotWidth) break;
    x += g.FftPixStep;
  }
  p.setPen(SolidPen(plot_colour::kFft));
  if (envelope && curve.size() >= 2) p.drawPolyline(curve);
  if (!lines.empty()) p.drawLines(lines.data(), static_cast<int>(lines.size()));
  if (!harmonics.empty()) {
    p.setPen(SolidPen(plot_colour::kHarmonic));
    p.drawLines(harmonics.data(), static_cast<int>(harmonics.size()));
  }
  DrawHorizontal(p, plot_colour::kZeroLine, B, g.PlotWidth);
}

// ---- Rulers ----

const QColor kRulerColour{80, 80, 80};
constexpr int kTickLength = 4;  // pixels
constexpr int kLabelGap = 2;    // between a tick and its label
const QColor kLabelGround{255, 255, 255, 200};  // behind a label

// A ruler's label on a pale ground, legible over a curve's band.
void DrawLabel(QPainter& p, int left, int baseline, const QString& text) {
  const QFontMetrics m = p.fontMetrics();
  p.fillRect(QRect(left - 1, baseline - m.ascent(), m.horizontalAdvance(text) + 2, m.height()),
             kLabelGround);
  p.drawText(left, baseline, text);
}

// Labels along a horizontal ruler at row edge (the bottom of the drawing
// area, ticks pointing up; or its top, ticks pointing down), each kept
// within columns 1..last - 1.
void DrawXRuler(QPainter& p, const std::vector<Tick>& ticks, const char* unit, int edge, bool up,
                int last) {
  const QFontMetrics m = p.fontMetrics();
  const int dir = up ? -1 : 1;
  for (const Tick& t : ticks) {
    const QString text = QString::fromStdString(t.label) + QLatin1Char(' ') + QLatin1String(unit);
    const int w = m.horizontalAdvance(text);
    const int left = std::clamp(t.pos - w / 2, 2, std::max(2, last - 2 - w));
    if (left + w > last - 2) continue;  // no room between the curve's ends
    p.drawLine(t.pos, edge, t.pos, edge + dir * kTickLength);
    const int labelEdge = edge + dir * (kTickLength + kLabelGap);
    const int baseline = up ? labelEdge - m.descent() : labelEdge + m.ascent();
    DrawLabel(p, left, baseline, text);
  }
}

// Ticks up the left edge of each band (or of the single graph), from the
// second column on: a short line at the value's row, its label standing on it.
void DrawValueRulers(QPainter& p, const DisplayState& s, const PlotGeometry& g) {
  const QFontMetrics m = p.fontMetrics();
  for (const ValueRuler& ruler : ValueRulers(s, g)) {
    for (const Tick& t : ValueTicks(g, ruler, 2 * m.height(), m.height() + kLabelGap)) {
      const QString text =
          QString::fromStdString(t.label) + QLatin1Char(' ') + QLatin1String(ruler.unit);
      DrawLabel(p, 2 + kLabelGap, t.pos - kLabelGap - m.descent(), text);
      p.drawLine(1, t.pos, 2 + 2 * kLabelGap + m.horizontalAdvance(text), t.pos);
    }
  }
}

void DrawRulers(QPainter& p, const DisplayState& s, const PlotGeometry& g,
                const AnalysisRecord& r) {
  p.setPen(SolidPen(kRulerColour));
  const QFontMetrics m = p.fontMetrics();
  const int spacing = m.horizontalAdvance(QStringLiteral("-0000.000 Hz")) + 2 * m.averageCharWidth();
  const int bottom = g.PlotHeight - 1;
  if (FftShown(s)) {
    const int last = LastFftColumn(g);
    DrawXRuler(p, FrequencyTicks(g, r, spacing), "Hz", bottom, true, last);
    DrawXRuler(p, OrderTicks(g, r, spacing), "ord.", std::max(0, g.PlotTop), false, last);
    return;
  }
  DrawXRuler(p, TimeTicks(g, r, spacing), "s", bottom, true, LastTimeColumn(g));
  DrawValueRulers(p, s, g);
}

}  // namespace

void PaintPlot(QPainter& painter, const DisplayState& s, const PlotGeometry& g,
               const AnalysisRecord& r, const MarkerLines& lines, const QColor& background) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillRect(painter.window(), background);  // the whole surface, whatever its size
  DrawMarkerLines(painter, g, lines);
  if (!g.HasSamples) return;
  TimeGraph single;
  if (FftShown(s)) DrawFft(painter, s, g, r);
  else if (SingleGraphShown(s, &single)) DrawSingleGraph(painter, s, g, r, single);
  else DrawBands(painter, s, g, r);
  if (s.Rulers) DrawRulers(painter, s, g, r);
}

}  // namespace tz
