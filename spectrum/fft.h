// Radix-2 decimation-in-time complex FFT over separate real and imaginary
// arrays, with its helpers: a small library that knows nothing of the
// program around it. The forward transform uses the positive exponent,
// X[k] = sum x[n] e^(+2 pi i k n / N), and no scaling; the inverse uses the
// negative exponent and divides by N, so that one undoes the other.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>

namespace tz {

enum class FftDirection { Forward, Inverse };

// The steps of a transform, for a caller that shows its progress.
enum class FftStep {
  BitReversal,  // before the copy of point `done` of `total`
  Stage,        // before the butterfly stage of block size `done` (total N)
  Block,        // before the block that starts at point `done` (total N)
};

// Watches a transform's work: told before each step.
class FftObserver {
 public:
  virtual void Step(FftStep step, int done, int total) = 0;

 protected:
  ~FftObserver() = default;
};

// 1 when x >= 2 and x is a power of two, else 0.
int PowerOfTwoTest(int x);
// Index of the lowest set bit of n (log2 n for a power of two); ends the
// program for n < 2.
int NumberOfBitsNeeded(int n);
// The lowest `bits` bits of index in reverse order (0 when bits < 1).
int BitReversedIndex(int index, int bits);
// Ends the program when the array is missing, or holds fewer than n values.
void RequireArray(std::span<const double> array, uint32_t n, const char* name);

// Transforms the first NumSamples points (a power of two, at least 2) of
// RealIn + i ImagIn into RealOut + i ImagOut, out of place, line k at index
// k. An empty ImagIn reads as zeros. A violated precondition writes its
// message to the standard error stream and ends the program with status 1.
void fft_float(uint32_t NumSamples, FftDirection direction, std::span<const double> RealIn,
               std::span<const double> ImagIn, std::span<double> RealOut,
               std::span<double> ImagOut, FftObserver* observer = nullptr);

// Magnitude of output line k: sqrt(re[k]^2 + im[k]^2).
inline double LineMagnitude(const double* re, const double* im, int k) {
  return std::sqrt(re[k] * re[k] + im[k] * im[k]);
}

}  // namespace tz
