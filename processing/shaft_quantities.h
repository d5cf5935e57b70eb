// Time, speed, torque and power of one accepted sample, the sense of
// rotation, the zero-crossing filter and the moving average.
#pragma once

namespace tz {

struct AnalysisRecord;
struct RunContext;

// Computes the quantities of the middle sample of the conditioning window,
// stores the emitted arrays and writes one TDM data line.
void EmitSample(AnalysisRecord& r, RunContext& run);

}  // namespace tz
