#include "spectrum/fft_input.h"

#include <cmath>

#include "processing/analysis_record.h"
#include "processing/run_context.h"

namespace tz {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kFourPi = 12.566370614359172;

const double* SourceArray(const AnalysisRecord& r) {
  switch (r.settings.FFTsource) {
    case FftSource::Cslot:
      return r.samples.CslotRaw;
    case FftSource::RpmFilt:
      return r.samples.RPMfiltArr;
    case FftSource::RpmInst:
      return r.samples.RPMinstArr;
    case FftSource::Power:
      return r.samples.POTfiltArr;
    default:
      return r.samples.TRQfiltArr;
  }
}

template <typename Window>
void SincFilter(AnalysisRecord& r, Window window, double gain) {
  const int M = r.spectrum.FFT_N - 2;
  const double fc = 3.0 / r.spectrum.FFT_N;
  for (int i = 0; i <= M; ++i) {
    const int di = i - M / 2;
    double weight;
    if (di == 0) {
      weight = kTwoPi * fc;
    } else {
      const double d = di;
      weight = window(i, M) * std::sin(kTwoPi * fc * d) / d;
    }
    r.spectrum.SincKernel[i] = weight;
  }
  double sum = 0.0;
  for (int i = 0; i <= M; ++i) sum = sum + r.spectrum.SincKernel[i];
  for (int i = 0; i <= M; ++i) r.spectrum.SincKernel[i] = r.spectrum.SincKernel[i] / sum;
  for (int i = 0; i <= M; ++i) {
    r.spectrum.FFTinRe[i] = r.spectrum.FFTinRe[i] * r.spectrum.SincKernel[i] * gain;
    r.spectrum.FFTinIm[i] = r.spectrum.FFTinIm[i] * r.spectrum.SincKernel[i] * gain;
  }
}

}  // namespace

int LoadFftInput(AnalysisRecord& r, Progress& progress) {
  const int start = 2 * r.settings.MovAvgLen;
  const int count = r.counters.ProgrCount - start;
  const double* src = SourceArray(r);
  for (int i = 0; i < count; ++i) {
    progress.Report(i, count, "Loading FFT proccessing array ....");
    r.spectrum.FFTinRe[i] = src[i + start];
    r.spectrum.FFTinIm[i] = 0.0;
  }
  return count;
}

void ChooseFftSize(AnalysisRecord& r, int count) {
  int n = r.spectrum.FFT_N;
  for (int e = 0; e <= 19; ++e) {
    const int p = 1 << e;
    if (static_cast<double>(p) < static_cast<double>(count)) n = p;
  }
  r.spectrum.FFT_N = n;
}

void HammingSincFilter(AnalysisRecord& r) {
  SincFilter(
      r, [](int i, int M) { return 0.54 - 0.46 * std::cos(kTwoPi * i / M); }, kHammingGain);
}

void BlackmanSincFilter(AnalysisRecord& r) {
  SincFilter(
      r,
      [](int i, int M) {
        return 0.42 - 0.5 * std::cos(kTwoPi * i / M) + 0.08 * std::cos(kFourPi * i / M);
      },
      kBlackmanGain);
}

void WeightFftInput(AnalysisRecord& r, Progress& progress) {
  if (r.settings.FFTwindow == FftWindow::Hamming) {
    HammingSincFilter(r);
  } else if (r.settings.FFTwindow == FftWindow::Blackman) {
    BlackmanSincFilter(r);
  } else {
    const int n = r.spectrum.FFT_N;
    for (int i = 0; i <= n; ++i) progress.Report(i, n, "Flat top filtering of FFT array ....");
  }
}

}  // namespace tz
