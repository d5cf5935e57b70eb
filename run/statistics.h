// Display statistics, the sampling frequency, the speed-variation warnings
// and the statistics figures of a run.
#pragma once

namespace tz {

struct AnalysisRecord;
struct RunContext;
class PlatformOps;

// Display statistics over Progr = 2 x MovAvgLen .. ProgrCount-1, the means and Fc.
void ComputeDisplayStatistics(AnalysisRecord& r, RunContext& run);

// The two speed-variation warnings (none for an empty statistics range).
void CheckSpeedVariation(const AnalysisRecord& r, PlatformOps& ops);

// Text of the filtered-percentage field: 6 significant digits, "0.000" without samples.
void FilteredPercentText(const AnalysisRecord& r, char* out);

}  // namespace tz
