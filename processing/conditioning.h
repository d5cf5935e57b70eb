// Conditioning of the raw counter pairs: validity test, spike removal by the
// allowed-overshoot rule, three-sample mean of Cslot; accepted samples are
// handed on one line late.
#pragma once

#include <cstdint>

namespace tz {

struct ProcessingSettings;
struct WorkingState;

// True when the pair cannot come from a valid slot edge.
bool InvalidPair(uint32_t c, uint32_t s);

// What the conditioning decided for one sample line.
enum class SampleVerdict {
  Invalid,   // the pair cannot come from a valid slot edge (counted as filtered)
  Priming,   // the first or second line of the run fills the window
  Emit,      // the middle sample is accepted, its Cslot smoothed: hand it on
  Replaced,  // the middle sample was a spike, replaced by its neighbours (counted)
  Held,      // neither handed on nor counted: a large change followed by none
};

// The verdict, and for Emit the middle sample to hand on.
struct ConditionedSample {
  SampleVerdict verdict;
  double cislot = 0, cslot = 0;
};

// True for the verdicts that FilteredCount counts.
inline bool CountsAsFiltered(SampleVerdict v) {
  return v == SampleVerdict::Invalid || v == SampleVerdict::Replaced;
}

// Conditions one sample line: c and s as read, n = RawCount after the line
// was counted. Moves the window in work; counts nothing, emits nothing.
ConditionedSample ConditionSample(const ProcessingSettings& settings, WorkingState& work,
                                  uint32_t c, uint32_t s, int32_t n);

}  // namespace tz
