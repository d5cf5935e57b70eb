// Time, speed, torque and power of one accepted sample, the sense of
// rotation, the zero-crossing filter and the moving average.
#pragma once

namespace tz {

struct AnalysisRecord;

// Computes the quantities of the middle sample of the conditioning window,
// stores the emitted arrays and writes one TDM data line.
void EmitSample(AnalysisRecord& r);

}  // namespace tz
