// FFT input: loading one quantity over the statistics range, the choice of the
// number of points and the windowed-sinc weighting.
#pragma once

#include "processing/codes.h"

namespace tz {

struct AnalysisRecord;
struct SpectrumResults;
class Progress;

// Gains applied after the kernel's normalisation to a unit sum.
constexpr double kHammingGain = 893.483;
constexpr double kBlackmanGain = 912.558;

// Loads FFTinRe/FFTinIm from the source chosen by FFTsource over the
// statistics range; returns the count.
int LoadFftInput(AnalysisRecord& r, Progress& progress);

// Largest power of two strictly below the count, at most 2^19, into FFT_N.
void ChooseFftSize(SpectrumResults& sp, int count);

// Builds the kernel in SincKernel and weights the first FFT_N - 1 input values.
void HammingSincFilter(SpectrumResults& sp);
void BlackmanSincFilter(SpectrumResults& sp);

// Weighting by the window: flat top (and any unknown value) leaves the input as loaded.
void WeightFftInput(SpectrumResults& sp, FftWindow window, Progress& progress);

}  // namespace tz
