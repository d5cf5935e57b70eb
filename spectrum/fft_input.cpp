#include "spectrum/fft_input.h"

#include <cmath>
#include <numbers>

#include "processing/analysis_record.h"
#include "processing/run_context.h"

namespace tz {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kFourPi = 4 * std::numbers::pi;
static_assert(kTwoPi == 6.283185307179586 && kFourPi == 12.566370614359172);

// Cut-off of the sinc in lines: fc = kCutOffLines / N.
constexpr double kCutOffLines = 3.0;
// Largest number of points: 2^19, the capacity of the arrays.
constexpr int kMaxSizeExponent = 19;
static_assert(1 << kMaxSizeExponent == kSampleCapacity);

const double* SourceArray(const AnalysisRecord& r) {
  const SampleArrays& a = r.samples;
  switch (r.settings.FFTsource) {
    case FftSource::Cslot: return a.CslotRaw;
    case FftSource::RpmFilt: return a.RPMfiltArr;
    case FftSource::RpmInst: return a.RPMinstArr;
    case FftSource::Power: return a.POTfiltArr;
    default: return a.TRQfiltArr;
  }
}

// The windowed sinc of M + 1 = N - 1 points, normalised to a unit sum,
// multiplies the input point by point: a taper, not a convolution. The last
// input value (index N - 1) keeps its loaded value.
template <typename Window>
void SincFilter(SpectrumResults& sp, Window window, double gain) {
  const int M = sp.FFT_N - 2;
  const double fc = kCutOffLines / sp.FFT_N;
  for (int i = 0; i <= M; ++i) {
    const int di = i - M / 2;
    double weight;
    if (di == 0) {
      weight = kTwoPi * fc;
    } else {
      const double d = di;
      weight = window(i, M) * std::sin(kTwoPi * fc * d) / d;
    }
    sp.SincKernel[i] = weight;
  }
  double sum = 0.0;
  for (int i = 0; i <= M; ++i) sum = sum + sp.SincKernel[i];
  for (int i = 0; i <= M; ++i) sp.SincKernel[i] = sp.SincKernel[i] / sum;
  for (int i = 0; i <= M; ++i) {
    sp.FFTinRe[i] = sp.FFTinRe[i] * sp.SincKernel[i] * gain;
    sp.FFTinIm[i] = sp.FFTinIm[i] * sp.SincKernel[i] * gain;
  }
}

}  // namespace

int LoadFftInput(AnalysisRecord& r, Progress& progress) {
  const int start = StatisticsStart(r.settings);
  const int count = r.counters.ProgrCount - start;
  const double* src = SourceArray(r);
  for (int i = 0; i < count; ++i) {
    progress.Report(i, count, "Loading FFT proccessing array ....");  // the program's spelling
    r.spectrum.FFTinRe[i] = src[i + start];
    r.spectrum.FFTinIm[i] = 0.0;
  }
  return count;
}

void ChooseFftSize(SpectrumResults& sp, int count) {
  int n = sp.FFT_N;
  for (int e = 0; e <= kMaxSizeExponent; ++e) {
    const int p = 1 << e;
    if (static_cast<double>(p) < static_cast<double>(count)) n = p;
  }
  sp.FFT_N = n;
}

// The windows' classic coefficients.
void HammingSincFilter(SpectrumResults& sp) {
  SincFilter(
      sp, [](int i, int M) { return 0.54 - 0.46 * std::cos(kTwoPi * i / M); }, kHammingGain);
}

void BlackmanSincFilter(SpectrumResults& sp) {
  SincFilter(
      sp,
      [](int i, int M) {
        return 0.42 - 0.5 * std::cos(kTwoPi * i / M) + 0.08 * std::cos(kFourPi * i / M);
      },
      kBlackmanGain);
}

void WeightFftInput(SpectrumResults& sp, FftWindow window, Progress& progress) {
  if (window == FftWindow::Hamming) {
    HammingSincFilter(sp);
  } else if (window == FftWindow::Blackman) {
    BlackmanSincFilter(sp);
  } else {
    // Flat top: the input stays as loaded; the progress still counts N + 1 steps.
    const int n = sp.FFT_N;
    for (int i = 0; i <= n; ++i) progress.Report(i, n, "Flat top filtering of FFT array ....");
  }
}

}  // namespace tz
