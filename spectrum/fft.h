// Radix-2 decimation-in-time complex FFT over separate real and imaginary
// arrays, with its helpers. The forward transform uses the positive exponent
// and no scaling; the inverse divides by N.
#pragma once

#include <cmath>
#include <cstdint>

namespace tz {

struct AnalysisRecord;
class Progress;

int PowerOfTwoTest(int x);
int NumberOfBitsNeeded(int n);
int BitReversedIndex(int index, int bits);
// Ends the program when the pointer is null.
void RequireArray(const void* p, const char* name);

// Transforms NumSamples points (a power of two, at least 2) out of place and
// fills FFTfreq[k] = k x (Fc / N). ImagIn may be null (all zeros). Reports
// progress through the record's progress object.
void fft_float(AnalysisRecord& r, Progress& progress, uint32_t NumSamples, int Inverse, const double* RealIn,
               const double* ImagIn, double* RealOut, double* ImagOut);

// Magnitude of output line k: sqrt(re[k]^2 + im[k]^2).
inline double LineMagnitude(const double* re, const double* im, int k) {
  return std::sqrt(re[k] * re[k] + im[k] * im[k]);
}

}  // namespace tz
