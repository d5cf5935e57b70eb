#include "spectrum/fft.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace tz {

namespace {

// One turn in radians, the numerator of every twiddle angle.
constexpr double kTwoPi = 2 * std::numbers::pi;
static_assert(kTwoPi == 6.283185307179586);

// Largest transform: the largest power of two an int holds.
constexpr uint32_t kMaxSamples = 1u << 30;

void Step(FftObserver* observer, FftStep step, int done, int total) {
  if (observer != nullptr) observer->Step(step, done, total);
}

// Copies the input into the output in bit-reversed order.
void BitReversedCopy(int n, std::span<const double> RealIn, std::span<const double> ImagIn,
                     std::span<double> RealOut, std::span<double> ImagOut,
                     FftObserver* observer) {
  const int bits = NumberOfBitsNeeded(n);
  for (int i = 0; i < n; ++i) {
    Step(observer, FftStep::BitReversal, i, n);
    const int j = BitReversedIndex(i, bits);
    RealOut[j] = RealIn[i];
    ImagOut[j] = ImagIn.empty() ? 0.0 : ImagIn[i];
  }
}

// The butterflies of every stage, in place. The twiddle factor cos(m delta)
// + i sin(m delta) of each butterfly comes from a three-term recurrence, with
// no sine or cosine per butterfly.
void Butterflies(int n, double angleNumerator, std::span<double> RealOut,
                 std::span<double> ImagOut, FftObserver* observer) {
  int blockEnd = 1;
  for (int blockSize = 2; blockSize <= n; blockSize <<= 1) {
    Step(observer, FftStep::Stage, blockSize, n);
    const double delta = angleNumerator / static_cast<double>(blockSize);
    const double sm2 = std::sin(-2 * delta);
    const double sm1 = std::sin(-delta);
    const double cm2 = std::cos(-2 * delta);
    const double cm1 = std::cos(-delta);
    const double w = 2 * cm1;
    for (int i = 0; i < n; i += blockSize) {
      Step(observer, FftStep::Block, i, n);
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
}

}  // namespace

int PowerOfTwoTest(int x) {
  return x >= 2 && std::has_single_bit(static_cast<unsigned>(x)) ? 1 : 0;
}

int NumberOfBitsNeeded(int n) {
  if (n < 2) {
    std::fprintf(stderr, ">>> Error in fftmisc: argument %d to NumberOfBitsNeeded is too small.\n",
                 n);
    std::exit(1);
  }
  return std::countr_zero(static_cast<unsigned>(n));
}

int BitReversedIndex(int index, int bits) {
  int rev = 0;
  for (int i = 0; i < bits; ++i) {
    rev = (rev << 1) | (index & 1);
    index >>= 1;
  }
  return rev;
}

void RequireArray(std::span<const double> array, uint32_t n, const char* name) {
  if (array.data() == nullptr) {
    std::fprintf(stderr, "Error in fft_float():  %s == NULL\n", name);
    std::exit(1);
  }
  if (array.size() < n) {
    std::fprintf(stderr, "Error in fft_float():  %s holds %zu values, NumSamples=%u\n", name,
                 array.size(), n);
    std::exit(1);
  }
}

void fft_float(uint32_t NumSamples, FftDirection direction, std::span<const double> RealIn,
               std::span<const double> ImagIn, std::span<double> RealOut,
               std::span<double> ImagOut, FftObserver* observer) {
  const uint32_t N = NumSamples;
  if (N > kMaxSamples || !PowerOfTwoTest(static_cast<int>(N))) {
    std::fprintf(stderr, "Error in fft(): NumSamples=%u is not power of two\n", N);
    std::exit(1);
  }
  const double angleNumerator = direction == FftDirection::Inverse ? -kTwoPi : kTwoPi;
  RequireArray(RealIn, N, "RealIn");
  RequireArray(RealOut, N, "RealOut");
  RequireArray(ImagOut, N, "ImagOut");
  if (!ImagIn.empty()) RequireArray(ImagIn, N, "ImagIn");
  const int n = static_cast<int>(N);

  BitReversedCopy(n, RealIn, ImagIn, RealOut, ImagOut, observer);
  Butterflies(n, angleNumerator, RealOut, ImagOut, observer);

  if (direction == FftDirection::Inverse) {
    const double denom = static_cast<double>(n);
    for (int k = 0; k < n; ++k) {
      RealOut[k] /= denom;
      ImagOut[k] /= denom;
    }
  }
}

}  // namespace tz
