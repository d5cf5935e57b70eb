#include "display/rulers.h"

#include <algorithm>
#include <cmath>

#include "display/format_decimals.h"
#include "display/plot_math.h"
#include "processing/analysis_record.h"

namespace tz {

namespace {

// Decimals that tell the ticks of a step apart.
int DecimalsOf(double step) {
  if (!(step > 0.0)) return 0;
  return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

Tick MakeTick(int pos, double value, double step) {
  const double v = std::fabs(value) < step * 1e-9 ? 0.0 : value;  // no "-0" or 1e-17
  return {pos, v, FormatDecimals(v, DecimalsOf(step))};
}

// Ticks of an axis whose index (sample or line) at column x is
// start + x x step / pix, by a linear unit per index.
std::vector<Tick> IndexTicks(double start, double step, double pix,
                             double unitPerIndex, int last, int minSpacing) {
  if (!(unitPerIndex > 0.0) || pix <= 0) return {};
  const double b = step / pix * unitPerIndex;
  return LinearTicks(start * unitPerIndex, b, 1, last - 1, minSpacing);
}

}  // namespace

double RoundStep(double span) {
  if (!(span > 0.0) || !std::isfinite(span)) return 0.0;
  const double power = std::pow(10.0, std::floor(std::log10(span)));
  for (double m : {1.0, 2.0, 5.0, 10.0})
    if (m * power >= span * (1 - 1e-12)) return m * power;
  return 10.0 * power;
}

std::vector<Tick> LinearTicks(double a, double b, int first, int last, int minSpacing) {
  std::vector<Tick> ticks;
  if (last < first || b == 0.0 || !std::isfinite(a) || !std::isfinite(b)) return ticks;
  const double step = RoundStep(std::fabs(b) * std::max(1, minSpacing));
  if (step == 0.0) return ticks;
  const double v0 = a + b * first, v1 = a + b * last;
  const double lo = std::min(v0, v1), hi = std::max(v0, v1);
  const double k0 = std::ceil(lo / step), k1 = std::floor(hi / step);
  if (k1 - k0 > 10000) return ticks;  // cannot happen with a true step; a guard
  for (double k = k0; k <= k1; ++k) {
    const double value = k * step;
    const int pos = static_cast<int>(std::lround((value - a) / b));
    if (pos < first || pos > last) continue;
    ticks.push_back(MakeTick(pos, value, step));
  }
  std::sort(ticks.begin(), ticks.end(), [](const Tick& x, const Tick& y) { return x.pos < y.pos; });
  return ticks;
}

int LastTimeColumn(const PlotGeometry& g) {
  const int64_t samples = int64_t{g.TimeEnd} - g.FirstProgr;
  if (samples <= 0 || g.TimeStep <= 0) return 0;
  const int64_t steps = (samples + g.TimeStep - 1) / g.TimeStep;
  return static_cast<int>(std::min<int64_t>((steps - 1) * g.TimePixStep, g.PlotWidth - 1));
}

int LastFftColumn(const PlotGeometry& g) {
  const int64_t lines = int64_t{g.FftEnd} - g.FftStart;
  if (lines <= 0 || g.FftStep <= 0) return 0;
  const int64_t steps = (lines + g.FftStep - 1) / g.FftStep;
  return static_cast<int>(std::min<int64_t>((steps - 1) * g.FftPixStep, g.PlotWidth - 1));
}

std::vector<Tick> TimeTicks(const PlotGeometry& g, const AnalysisRecord& r, int minSpacing) {
  std::vector<Tick> ticks;
  const int last = LastTimeColumn(g);
  if (!g.HasSamples || last < 2) return ticks;
  const auto time = [&](int x) { return r.samples.TprogrArr[SampleAtColumn(g, r, x)]; };
  const double t0 = time(0), t1 = time(last);
  if (!(t1 > t0)) return ticks;
  const double step = RoundStep((t1 - t0) / last * std::max(1, minSpacing));
  if (step == 0.0) return ticks;
  double next = std::floor(t0 / step) * step + step;  // the first round value past column 0
  int previous = -minSpacing;
  for (int x = 1; x < last; ++x) {
    const double t = time(x);
    if (!std::isfinite(t) || t < next) continue;  // no tick for a time that is no number
    const double value = std::floor(t / step + 1e-9) * step;
    if (x - previous >= minSpacing) {
      ticks.push_back(MakeTick(x, value, step));
      previous = x;
    }
    next = value + step;
  }
  return ticks;
}

std::vector<Tick> FrequencyTicks(const PlotGeometry& g, const AnalysisRecord& r, int minSpacing) {
  if (!g.HasSamples || r.spectrum.FFT_N <= 0) return {};
  return IndexTicks(g.FftStart, g.FftStep, g.FftPixStep, r.stats.Fc / r.spectrum.FFT_N,
                    LastFftColumn(g), minSpacing);
}

std::vector<Tick> OrderTicks(const PlotGeometry& g, const AnalysisRecord& r, int minSpacing) {
  if (!g.HasSamples || r.spectrum.FFT_N <= 0) return {};
  return IndexTicks(g.FftStart, g.FftStep, g.FftPixStep, r.params.N_SLOT / r.spectrum.FFT_N,
                    LastFftColumn(g), minSpacing);
}

std::vector<ValueRuler> ValueRulers(const DisplayState& s, const PlotGeometry& g) {
  std::vector<ValueRuler> rulers;
  if (!g.HasSamples || FftShown(s)) return rulers;
  const int H = g.PlotHeight;
  TimeGraph single;
  if (SingleGraphShown(s, &single)) {
    static const char* const kUnits[] = {"RPM", "RPM", "Nm", "kW"};
    rulers.push_back({g.PlotTop, H, g.Graph, kUnits[static_cast<int>(single)]});
    return rulers;
  }
  // Rows of a height above the bottom.
  const auto row = [H](double height) { return std::clamp(PixelFromDouble(H - height), 0, H); };
  rulers.push_back({std::max(g.PlotTop, 0), row(g.Bands[0].Base), g.Bands[0], "RPM"});
  rulers.push_back({row(g.Bands[0].Base), row(g.Bands[1].Base), g.Bands[1], "Nm"});
  rulers.push_back({row(g.Bands[1].Base), H, g.Bands[2], "kW"});
  return rulers;
}

std::vector<Tick> ValueTicks(const PlotGeometry& g, const ValueRuler& ruler, int minSpacing,
                             int margin) {
  const VerticalScale& v = ruler.scale;
  if (v.Scale == 0.0) return {};
  // Row y shows the value (H - y - offset - base) / scale.
  const double H = g.PlotHeight;
  const double a = (H - v.Offset - v.Base) / v.Scale, b = -1.0 / v.Scale;
  return LinearTicks(a, b, ruler.top + margin, ruler.bottom - margin, minSpacing);
}

}  // namespace tz
