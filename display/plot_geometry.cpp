#include "display/plot_geometry.h"

#include <algorithm>

#include "display/fit_range.h"
#include "processing/analysis_record.h"

namespace tz {

PlotGeometry GeometryOf(const DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l) {
  PlotGeometry g;
  g.HasSamples = r.counters.ProgrCount > 0;
  g.PlotTop = l.PlotTop;
  g.PlotWidth = l.PlotWidth;
  g.PlotHeight = l.PlotHeight;
  g.ClientHeight = l.ClientHeight;
  g.FirstProgr = s.TimeStart + r.settings.MovAvgLen;
  g.TimeStart = s.TimeStart, g.TimeEnd = s.TimeEnd;
  g.TimeStep = s.TimeStep, g.TimePixStep = s.TimePixStep;
  g.FftStart = s.FftStart, g.FftEnd = s.FftEnd;
  g.FftStep = s.FftStep, g.FftPixStep = s.FftPixStep;
  if (!g.HasSamples) return g;
  const double H = l.PlotHeight;
  TimeGraph single;
  if (FftShown(s)) g.Graph = FftScale(s, H, r);
  else if (SingleGraphShown(s, &single)) g.Graph = SingleGraphScale(H, SeriesOf(single, r, s));
  else g.Bands = BandScales(s, H, r);
  if (s.FitToData && !FftShown(s)) FitToVisibleData(g, s, r);
  return g;
}

PlotGeometry UpdateGeometry(DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l) {
  ComputeRanges(s, r, l);
  return GeometryOf(s, r, l);
}

int32_t SampleAtColumn(const PlotGeometry& g, const AnalysisRecord& r, int x) {
  const int64_t pix = std::max<int32_t>(1, g.TimePixStep);
  const int64_t v = static_cast<int64_t>(g.TimeStep) * x / pix + r.settings.MovAvgLen + g.TimeStart;
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, SampleCount(r)));
}

int32_t LineAtColumn(const PlotGeometry& g, const AnalysisRecord& r, int x) {
  const int64_t pix = std::max<int32_t>(1, g.FftPixStep);
  const int64_t v = static_cast<int64_t>(g.FftStep) * x / pix + g.FftStart;
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::max(0, HalfSpectrum(r) - 1)));
}

namespace {

// The end of a range drawn from first, step indices a column every pix
// columns, over the plot's width.
int32_t EndWithinColumns(int32_t first, int32_t end, int32_t step, int32_t pix, int width) {
  const int64_t p = std::max<int32_t>(1, pix);
  const int64_t columns = (std::max(0, width) + p - 1) / p;
  return static_cast<int32_t>(
      std::min<int64_t>(end, int64_t{first} + columns * std::max<int32_t>(1, step)));
}

}  // namespace

int32_t VisibleTimeEnd(const PlotGeometry& g) {
  return EndWithinColumns(g.FirstProgr, g.TimeEnd, g.TimeStep, g.TimePixStep, g.PlotWidth);
}

int32_t VisibleFftEnd(const PlotGeometry& g) {
  return EndWithinColumns(g.FftStart, g.FftEnd, g.FftStep, g.FftPixStep, g.PlotWidth);
}

}  // namespace tz
