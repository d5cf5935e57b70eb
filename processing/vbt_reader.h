// The VBT file: header state machine and sample-line parser.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tz {

struct HeaderParameters;
struct ProcessingSettings;

// What a header line asks of the run, beside the header's new state.
enum class HeaderEvent {
  None,
  CounterPeriodMissing,  // the line after the time line is not the counter period: abandon
  Complete,              // the header is complete: write the header blocks of both outputs
};
struct HeaderStep {
  int state;
  HeaderEvent event = HeaderEvent::None;
};

// The message of CounterPeriodMissing, under the format's check caption.
constexpr char kCounterPeriodMissing[] = "Counter period not found or invalid .... Aborting!";

// States of the VBT header: waiting for the title, the date and time lines,
// the counter period and the ten parameter lines (one state each, in the
// order of the parameter table), the line after them (which completes the
// header) and the sample lines.
enum VbtHeaderState : int {
  kVbtAwaitTitle = 0,
  kVbtDate = 1,
  kVbtTime = 2,
  kVbtCounterPeriod = 3,
  kVbtLastParameter = 13,  // PDist=
  kVbtHeaderEnd = 14,
  kVbtSampleState = 15,
};

constexpr char kVbtTitle[] = "Download of sampled vibrotorsional data";

// One step of the VBT header state machine (states 0..15): fills the
// parameters (and the default settings) from the line. The line of state 14
// completes the header.
HeaderStep ParseHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                           const char* line, size_t len, int state);

// Splits a sample line into Cislot and Cslot (decimal integers, 32-bit
// wrap-around, unsigned). Returns false for a line without a comma.
bool ParseSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot);

}  // namespace tz
