// One sample pair of the input through the time domain: stored raw,
// conditioned, and computed when the conditioning hands a sample on.
#pragma once

#include <cstdint>
#include <optional>

#include "processing/shaft_quantities.h"

namespace tz {

struct AnalysisRecord;

// Stores the pair at index RawCount of the raw arrays, conditions it and
// counts what the conditioning rejected or replaced. Returns the sample the
// conditioning handed on (one line late), computed, for the caller to write.
// A pair beyond the raw arrays is neither stored nor counted, only tallied
// in DroppedSampleLines.
std::optional<EmittedSample> TakeSample(AnalysisRecord& r, uint32_t c, uint32_t s);

}  // namespace tz
