#include "display/plot_math.h"

#include <algorithm>
#include <cmath>

#include "processing/analysis_record.h"
#include "spectrum/fft.h"

namespace tz {

namespace {

// The vertical scales, for a drawing area H pixels high, a graph's range R
// (|maximum| + |minimum|) and its zoom percentage Z. Each offset is the
// height of the zero line above the bottom; "at rest" is where it stands
// when the scale is 0.

// A single time graph: at 100 % its range spans 0.4 H around the middle line.
constexpr double kSingleScale = 0.004;       // scale = H / R x Z x this
constexpr double kSingleOffset = 125.0;      // offset = R x scale x this / Z (= H / 2)
constexpr double kSingleOffsetAtRest = 0.5;  // offset = H x this
// A band of the three graphs: at 100 % its range spans 0.25 H.
constexpr double kBandScale = 0.0025;          // scale = H / R x Z x this
constexpr double kBandOffset = 50.0;           // offset = scale x R x this / Z (= H / 8)
constexpr double kBandOffsetAtRest = 0.125;    // offset = H x this
constexpr double kRpmBandBase = 0.6;           // the RPM band's lift: this x H + kBandLift
constexpr double kTorqueBandBase = 0.31666666666666665;  // the torque band's: this x H + kBandLift
constexpr double kBandLift = 50.0;             // pixels added to the two upper bands' lifts
// The FFT graph: the fundamental (magnitude M for R) stands 0.9 H above the
// baseline.
constexpr double kFftScale = 0.009;         // scale = H / M x Z x this
constexpr double kFftOffset = 5.0;          // offset = M x scale x this / Z (= 0.045 H)
constexpr double kFftOffsetAtRest = 0.045;  // offset = this x H

// Pixel coordinates are 16-bit.
constexpr int kPixelMax = 32767;
constexpr int kPixelMin = -32768;

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

int32_t SampleCount(const AnalysisRecord& r) {
  return std::clamp<int32_t>(r.counters.ProgrCount, 0, kSampleCapacity - 1);
}

int32_t HalfSpectrum(const AnalysisRecord& r) {
  return std::clamp<int32_t>(r.spectrum.FFT_N / 2, 0, kMaxSpectrumLines);
}

int PixelFromDouble(double v) {
  if (std::isnan(v)) return kPixelMax;
  if (v >= kPixelMax) return kPixelMax;
  if (v <= kPixelMin) return kPixelMin;
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
  switch (s.Show) {
    case DisplayChoice::ShowRpmFilt: *g = TimeGraph::RpmFilt; return true;
    case DisplayChoice::ShowRpmInst: *g = TimeGraph::RpmInst; return true;
    case DisplayChoice::ShowTorque: *g = TimeGraph::Torque; return true;
    case DisplayChoice::ShowPower: *g = TimeGraph::Power; return true;
    default: return false;
  }
}

std::array<TimeGraph, 3> BandGraphs(const DisplayState& s) {
  const bool inst = s.Show == DisplayChoice::Show3RpmInst;
  return {inst ? TimeGraph::RpmInst : TimeGraph::RpmFilt, TimeGraph::Torque,
          TimeGraph::Power};
}

VerticalScale SingleGraphScale(double H, const TimeSeries& t) {
  const double R = std::fabs(t.max) + std::fabs(t.min);
  const double Z = t.zoom;
  VerticalScale v;
  v.Scale = ScaleOf(H, R, Z, kSingleScale);
  v.Offset = OffsetOr(v.Scale, R * v.Scale * kSingleOffset / Z, H * kSingleOffsetAtRest);
  return v;
}

std::array<VerticalScale, 3> BandScales(const DisplayState& s, double H, const AnalysisRecord& r) {
  const std::array<TimeGraph, 3> graphs = BandGraphs(s);
  std::array<VerticalScale, 3> bands;
  for (size_t i = 0; i < graphs.size(); ++i) {
    const TimeSeries t = SeriesOf(graphs[i], r, s);
    const double R = std::fabs(t.max) + std::fabs(t.min);
    const double Z = t.zoom;
    VerticalScale& band = bands[i];
    band.Scale = ScaleOf(H, R, Z, kBandScale);
    band.Offset = OffsetOr(band.Scale, band.Scale * R * kBandOffset / Z, H * kBandOffsetAtRest);
  }
  bands[0].Base = kRpmBandBase * H + kBandLift;
  bands[1].Base = kTorqueBandBase * H + kBandLift;
  bands[2].Base = 0;  // the power band stands on the bottom
  return bands;
}

VerticalScale FftScale(const DisplayState& s, double H, const AnalysisRecord& r) {
  const double M = LineMagnitudeAt(r, r.spectrum.FundLine);
  const double Z = s.ZoomFft;
  VerticalScale v;
  v.Scale = ScaleOf(H, M, Z, kFftScale);
  v.Offset = OffsetOr(v.Scale, M * v.Scale * kFftOffset / Z, kFftOffsetAtRest * H);
  return v;
}

int ValueToY(double value, double scale, double offset, double base, double H, int plotTop) {
  // A scale of 0 lays every value, however far, on the zero line.
  const double term = scale == 0.0 ? 0.0 : scale * value;
  const double v = term + offset + base;
  if (v > H) return plotTop;
  return PixelFromDouble(H - v);
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
