// Conditioning of the raw counter pairs: validity test, spike removal by the
// allowed-overshoot rule, three-sample mean of Cslot; accepted samples are
// handed on one line late.
#pragma once

#include <cstdint>

namespace tz {

struct AnalysisRecord;
struct RunContext;

// True when the pair cannot come from a valid slot edge.
bool InvalidPair(uint32_t c, uint32_t s);

// Conditions one sample line: c and s as read, n = RawCount after the line
// was counted. Calls EmitSample at most once.
void ConditionSample(AnalysisRecord& r, RunContext& run, uint32_t c, uint32_t s, int32_t n);

}  // namespace tz
