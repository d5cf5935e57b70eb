#include "processing/sample_step.h"

#include "processing/analysis_record.h"
#include "processing/conditioning.h"

namespace tz {

std::optional<EmittedSample> TakeSample(AnalysisRecord& r, uint32_t c, uint32_t s) {
  RunCounters& n = r.counters;
  if (n.RawCount >= kSampleCapacity) {
    if (n.DroppedSampleLines < INT32_MAX) ++n.DroppedSampleLines;
    return std::nullopt;
  }
  r.samples.CislotRaw[n.RawCount] = c;
  r.samples.CslotRaw[n.RawCount] = s;
  ++n.RawCount;
  const ConditionedSample k = ConditionSample(r.settings, r.work, c, s, n.RawCount);
  if (CountsAsFiltered(k.verdict)) ++n.FilteredCount;
  if (k.verdict != SampleVerdict::Emit) return std::nullopt;
  return EmitSample(r, k.cislot, k.cslot);
}

}  // namespace tz
