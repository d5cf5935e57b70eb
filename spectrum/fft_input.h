// FFT input: loading one quantity over the statistics range, the choice of the
// number of points and the windowed-sinc weighting.
#pragma once

namespace tz {

struct AnalysisRecord;
class Progress;

constexpr double kHammingGain = 893.483;
constexpr double kBlackmanGain = 912.558;

// Loads FFTinRe/FFTinIm from the source chosen by FFTsource; returns the count.
int LoadFftInput(AnalysisRecord& r, Progress& progress);

// Largest power of two strictly below the count, at most 2^19, into FFT_N.
void ChooseFftSize(AnalysisRecord& r, int count);

// Builds the kernel in SincKernel and weights the first FFT_N - 1 input values.
void HammingSincFilter(AnalysisRecord& r);
void BlackmanSincFilter(AnalysisRecord& r);

// Weighting by FFTwindow: flat top (and any unknown value) leaves the input as loaded.
void WeightFftInput(AnalysisRecord& r, Progress& progress);

}  // namespace tz
