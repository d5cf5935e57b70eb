#include "display/plot_math.h"

#include <algorithm>
#include <cmath>

#include "processing/analysis_record.h"
#include "spectrum/fft.h"

namespace tz {

namespace {

int32_t SampleCount(const AnalysisRecord& r) {
  return std::clamp<int32_t>(r.counters.ProgrCount, 0, kSampleCapacity - 1);
}

// Truncates a pixel step; 1 when the ratio gives 0 or is not a number.
int32_t PixStep(int32_t step, int width, int32_t span) {
  if (step > 1) return 1;
  if (span <= 0) return 1;
  const double ratio = static_cast<double>(width) / static_cast<double>(span);
  const int v = PixelFromDouble(ratio);
  return v > 0 ? v : 1;
}

// Scale of one graph: H / R x Z x factor, or 0 where that has no meaning.
double ScaleOf(double H, double R, double Z, double factor) {
  if (R == 0.0 || Z == 0.0) return 0.0;
  const double scale = H / R * Z * factor;
  return std::isfinite(scale) ? scale : 0.0;
}

// Offset from its formula, or where it stands at 100 % when the scale is 0
// or the formula gives no number.
double OffsetOr(double scale, double formula, double atRest) {
  if (scale == 0.0 || !std::isfinite(formula)) return atRest;
  return formula;
}

}  // namespace

int32_t HalfSpectrum(const AnalysisRecord& r) {
  return std::clamp<int32_t>(r.spectrum.FFT_N / 2, 0, kMaxSpectrumLines);
}

int PixelFromDouble(double v) {
  if (std::isnan(v)) return 32767;
  if (v >= 32767.0) return 32767;
  if (v <= -32768.0) return -32768;
  return static_cast<int>(v);
}

void SetFullRange(DisplayState& s, const AnalysisRecord& r) {
  s.TimeStart = 0;
  s.TimeEnd = SampleCount(r);
  s.FftStart = 0;
  s.FftEnd = HalfSpectrum(r);
  s.ZoomBaseTime = 0;
  s.ZoomBaseFft = 0;
}

bool ComputeRanges(DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l) {
  if (r.counters.ProgrCount <= 0) return false;
  const int width = std::max<int>(1, l.PlotWidth);
  const int32_t count = SampleCount(r);
  const int32_t half = HalfSpectrum(r);

  if (s.XZoomActive) {
    // A zoom kept from another run: never past this run's data.
    s.TimeStart = std::max<int32_t>(0, s.TimeStart);
    s.FftStart = std::max<int32_t>(0, s.FftStart);
    s.TimeEnd = std::min(s.TimeEnd, count);
    s.FftEnd = std::min(s.FftEnd, half);
    const bool empty =
        s.TimeStart + r.settings.MovAvgLen >= s.TimeEnd || (half > 0 && s.FftStart >= s.FftEnd);
    if (empty) s.XZoomActive = 0;
  }
  if (!s.XZoomActive) {
    SetFullRange(s, r);
    s.TimeStep = count / width + 1;
    s.FftStep = half / width + 1;
  }
  s.TimeStep = std::max<int32_t>(1, s.TimeStep);
  s.FftStep = std::max<int32_t>(1, s.FftStep);
  s.TimePixStep = PixStep(s.TimeStep, l.PlotWidth, s.TimeEnd - s.TimeStart);
  s.FftPixStep = PixStep(s.FftStep, l.PlotWidth, s.FftEnd - s.FftStart);
  return true;
}

TimeSeries SeriesOf(TimeGraph g, const AnalysisRecord& r, const DisplayState& s) {
  switch (g) {
    case TimeGraph::RpmFilt:
      return {r.samples.RPMfiltArr, r.stats.RPMfiltMax, r.stats.RPMfiltMin, s.ZoomRpm};
    case TimeGraph::RpmInst:
      return {r.samples.RPMinstArr, r.stats.RPMinstMax, r.stats.RPMinstMin, s.ZoomRpm};
    case TimeGraph::Torque:
      return {r.samples.TRQfiltArr, r.stats.TRQfiltMax, r.stats.TRQfiltMin, s.ZoomTorque};
    case TimeGraph::Power:
      break;
  }
  return {r.samples.POTfiltArr, r.stats.POTfiltMax, r.stats.POTfiltMin, s.ZoomPower};
}

bool SingleGraphShown(const DisplayState& s, TimeGraph* g) {
  if (s.ShowRpmFilt) *g = TimeGraph::RpmFilt;
  else if (s.ShowRpmInst) *g = TimeGraph::RpmInst;
  else if (s.ShowTorque) *g = TimeGraph::Torque;
  else if (s.ShowPower) *g = TimeGraph::Power;
  else return false;
  return true;
}

void SetSingleGraphScale(DisplayState& s, double H, const TimeSeries& t) {
  const double R = std::fabs(t.max) + std::fabs(t.min);
  const double Z = t.zoom;
  s.GraphScale = ScaleOf(H, R, Z, 0.004);
  s.GraphOffset = OffsetOr(s.GraphScale, R * s.GraphScale * 125.0 / Z, H * 0.5);
}

void SetBandScales(DisplayState& s, double H, const AnalysisRecord& r) {
  const TimeSeries rpm = SeriesOf(s.Show3RpmInst ? TimeGraph::RpmInst : TimeGraph::RpmFilt, r, s);
  const TimeSeries bands[3] = {rpm, SeriesOf(TimeGraph::Torque, r, s),
                               SeriesOf(TimeGraph::Power, r, s)};
  double* scale[3] = {&s.BandScale1, &s.BandScale2, &s.BandScale3};
  double* offset[3] = {&s.BandOffset1, &s.BandOffset2, &s.BandOffset3};
  for (int i = 0; i < 3; ++i) {
    const double R = std::fabs(bands[i].max) + std::fabs(bands[i].min);
    const double Z = bands[i].zoom;
    *scale[i] = ScaleOf(H, R, Z, 0.0025);
    *offset[i] = OffsetOr(*scale[i], *scale[i] * R * 50.0 / Z, H * 0.125);
  }
  s.BandBase1 = 0.6 * H + 50.0;
  s.BandBase2 = 0.31666666666666665 * H + 50.0;
  s.BandBase3 = 0;
}

void SetFftScale(DisplayState& s, double H, const AnalysisRecord& r) {
  const double M = LineMagnitudeAt(r, r.spectrum.FundLine);
  const double Z = s.ZoomFft;
  s.GraphScale = ScaleOf(H, M, Z, 0.009);
  s.GraphOffset = OffsetOr(s.GraphScale, M * s.GraphScale * 5.0 / Z, 0.045 * H);
}

int ValueToY(double value, double scale, double offset, double base, double H, int plotTop) {
  // A scale of 0 lays every value, however far, on the zero line.
  const double term = scale == 0.0 ? 0.0 : scale * value;
  const double v = term + offset + base;
  if (v > H) return plotTop;
  return PixelFromDouble(H - v);
}

int32_t SampleAtColumn(const DisplayState& s, const AnalysisRecord& r, int x) {
  const int64_t pix = std::max<int32_t>(1, s.TimePixStep);
  const int64_t v = static_cast<int64_t>(s.TimeStep) * x / pix + r.settings.MovAvgLen + s.TimeStart;
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, SampleCount(r)));
}

int32_t LineAtColumn(const DisplayState& s, const AnalysisRecord& r, int x) {
  const int64_t pix = std::max<int32_t>(1, s.FftPixStep);
  const int64_t v = static_cast<int64_t>(s.FftStep) * x / pix + s.FftStart;
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::max(0, HalfSpectrum(r) - 1)));
}

double ValueAtRow(double H, int y, double scale, double offset, double base) {
  if (scale == 0.0) return 0.0;
  return (H - y - offset - base) / scale;
}

double LineMagnitudeAt(const AnalysisRecord& r, int32_t k) {
  if (k < 0 || k >= kSampleCapacity) return 0.0;
  return LineMagnitude(r.spectrum.FFTre, r.spectrum.FFTim, k);
}

}  // namespace tz
