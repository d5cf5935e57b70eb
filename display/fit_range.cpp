#include "display/fit_range.h"

#include <algorithm>
#include <cmath>

#include "display/panel_controls.h"
#include "display/plot_math.h"
#include "processing/analysis_record.h"

namespace tz {

namespace {

constexpr double kMarginOfSpan = 0.05;  // margin above and below: this x the span
constexpr double kFlatMargin = 0.01;    // of a flat range: this x its value
constexpr double kBandSpan = 0.25;      // a band's height at 100 %: this x H
constexpr double kSingleSpan = 0.8;     // the single graph's: this x H, about H / 2

VerticalScale Fitted(double H, PlotGeometry::Range range, double zoom, double span, double middle) {
  VerticalScale v;
  const double width = range.max - range.min;
  const double centre = range.min + width / 2;
  if (zoom != 0.0 && width > 0.0) v.Scale = H * span / width * (zoom / 100.0);
  if (!std::isfinite(v.Scale)) v.Scale = 0.0;
  v.Offset = middle - (v.Scale == 0.0 ? 0.0 : centre * v.Scale);
  return v;
}

}  // namespace

bool VisibleRange(const double* values, int32_t first, int32_t end, PlotGeometry::Range* range) {
  bool any = false;
  for (int32_t i = std::max<int32_t>(0, first); i < end; ++i) {
    const double v = values[i];
    if (!std::isfinite(v)) continue;
    if (!any) *range = {v, v};
    range->min = std::min(range->min, v);
    range->max = std::max(range->max, v);
    any = true;
  }
  return any;
}

PlotGeometry::Range WithMargin(PlotGeometry::Range range) {
  const double span = range.max - range.min;
  double margin = span * kMarginOfSpan;
  if (span == 0.0) margin = range.max == 0.0 ? 1.0 : std::fabs(range.max) * kFlatMargin;
  return {range.min - margin, range.max + margin};
}

VerticalScale FittedBandScale(double H, PlotGeometry::Range range, double zoom, double base) {
  VerticalScale v = Fitted(H, range, zoom, kBandSpan, H * kBandSpan / 2);
  v.Base = base;
  return v;
}

VerticalScale FittedSingleScale(double H, PlotGeometry::Range range, double zoom) {
  return Fitted(H, range, zoom, kSingleSpan, H / 2);
}

void FitToVisibleData(PlotGeometry& g, const DisplayState& s, const AnalysisRecord& r) {
  const double H = g.PlotHeight;
  const int32_t end = std::min(VisibleTimeEnd(g), SampleCount(r));
  TimeGraph single;
  if (SingleGraphShown(s, &single)) {
    const TimeSeries t = SeriesOf(single, r, s);
    PlotGeometry::Range range;
    if (!VisibleRange(t.values, g.FirstProgr, end, &range)) return;
    g.Graph = FittedSingleScale(H, WithMargin(range), t.zoom);
    g.FittedRanges[0] = range;
    g.FittedBand[0] = true;
    g.Fitted = true;
    return;
  }
  const std::array<TimeGraph, 3> graphs = BandGraphs(s);
  for (size_t i = 0; i < graphs.size(); ++i) {
    const TimeSeries t = SeriesOf(graphs[i], r, s);
    PlotGeometry::Range range;
    if (!VisibleRange(t.values, g.FirstProgr, end, &range)) continue;
    g.Bands[i] = FittedBandScale(H, WithMargin(range), t.zoom, g.Bands[i].Base);
    g.FittedRanges[i] = range;
    g.FittedBand[i] = true;
    g.Fitted = true;
  }
}

ControlOps FittedReadouts(const DisplayState& s, const PlotGeometry& g) {
  ControlOps ops;
  if (!g.Fitted) return ops;
  const size_t panels = ThreeGraphs(s) ? 3 : 1;
  for (size_t i = 0; i < panels; ++i) {
    if (!g.FittedBand[i]) continue;  // its panel keeps the whole run's range
    AddText(ops, kYPanels[i].panel, kYPanels[i].max, g.FittedRanges[i].max, 1);
    AddText(ops, kYPanels[i].panel, kYPanels[i].min, g.FittedRanges[i].min, 1);
  }
  return ops;
}

}  // namespace tz
