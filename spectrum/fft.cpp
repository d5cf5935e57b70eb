#include "spectrum/fft.h"

#include <cstdio>
#include <cstdlib>

#include "processing/analysis_record.h"
#include "processing/run_context.h"

namespace tz {

int PowerOfTwoTest(int x) {
  if (x < 2) return 0;
  return (x & (x - 1)) == 0 ? 1 : 0;
}

int NumberOfBitsNeeded(int n) {
  if (n < 2) {
    std::fprintf(stderr, ">>> Error in fftmisc: argument %d to NumberOfBitsNeeded is too small.\n",
                 n);
    std::exit(1);
  }
  for (int i = 0;; ++i)
    if (n & (1 << i)) return i;
}

int BitReversedIndex(int index, int bits) {
  int rev = 0;
  for (int i = 0; i < bits; ++i) {
    rev = (rev << 1) | (index & 1);
    index >>= 1;
  }
  return rev;
}

void RequireArray(const void* p, const char* name) {
  if (p == nullptr) {
    std::fprintf(stderr, "Error in fft_float():  %s == NULL\n", name);
    std::exit(1);
  }
}

void fft_float(AnalysisRecord& r, Progress& progress, uint32_t NumSamples, int Inverse, const double* RealIn,
               const double* ImagIn, double* RealOut, double* ImagOut) {
  const uint32_t N = NumSamples;
  if (N > 0x40000000u || !PowerOfTwoTest(static_cast<int>(N))) {
    std::fprintf(stderr, "Error in fft(): NumSamples=%u is not power of two\n", N);
    std::exit(1);
  }
  double angleNumerator = 6.283185307179586;
  if (Inverse) angleNumerator = -angleNumerator;
  RequireArray(RealIn, "RealIn");
  RequireArray(RealOut, "RealOut");
  RequireArray(ImagOut, "ImagOut");
  const int n = static_cast<int>(N);
  const int bits = NumberOfBitsNeeded(n);

  for (int i = 0; i < n; ++i) {
    progress.Report(i, n, "Bit reversing of FFT array ....");
    const int j = BitReversedIndex(i, bits);
    RealOut[j] = RealIn[i];
    ImagOut[j] = ImagIn == nullptr ? 0.0 : ImagIn[i];
  }

  int blockEnd = 1;
  for (int blockSize = 2; blockSize <= n; blockSize <<= 1) {
    progress.Report(blockSize, n, "Calculating FFT ....");
    const double delta = angleNumerator / static_cast<double>(blockSize);
    const double sm2 = std::sin(-2 * delta);
    const double sm1 = std::sin(-delta);
    const double cm2 = std::cos(-2 * delta);
    const double cm1 = std::cos(-delta);
    const double w = 2 * cm1;
    for (int i = 0; i < n; i += blockSize) {
      progress.Report(i, n, "Calculating FFT coefficients ....");
      double ar2 = cm2, ar1 = cm1, ai2 = sm2, ai1 = sm1;
      for (int m = 0; m < blockEnd; ++m) {
        const int j = i + m;
        const int k = j + blockEnd;
        const double ar0 = w * ar1 - ar2;
        ar2 = ar1;
        ar1 = ar0;
        const double ai0 = w * ai1 - ai2;
        ai2 = ai1;
        ai1 = ai0;
        const double tr = ar0 * RealOut[k] - ai0 * ImagOut[k];
        const double ti = ar0 * ImagOut[k] + ai0 * RealOut[k];
        RealOut[k] = RealOut[j] - tr;
        ImagOut[k] = ImagOut[j] - ti;
        RealOut[j] += tr;
        ImagOut[j] += ti;
      }
    }
    blockEnd = blockSize;
  }

  const int nf = n < kSampleCapacity ? n : kSampleCapacity;
  for (int k = 0; k < nf; ++k) r.spectrum.FFTfreq[k] = k * (r.stats.Fc / n);

  if (Inverse) {
    const double denom = static_cast<double>(n);
    for (int k = 0; k < n; ++k) {
      RealOut[k] /= denom;
      ImagOut[k] /= denom;
    }
  }
}

}  // namespace tz
