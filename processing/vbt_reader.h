// The VBT file: header state machine and sample-line parser, with the shared
// helpers that the readers of TDM and FDM files use as well.
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
// the counter period, the ten parameter lines, the line after them (where
// both header blocks are written) and the sample lines.
enum VbtHeaderState : int {
  kVbtAwaitTitle = 0,
  kVbtDate = 1,
  kVbtTime = 2,
  kVbtCounterPeriod = 3,
  kVbtFirstParameter = 4,   // G= .. PDist=, one state each
  kVbtRPMmax = 11,          // the parameter after which the filter defaults apply
  kVbtLastParameter = 13,
  kVbtWriteHeaders = 14,
  kVbtSampleState = 15,
};

constexpr char kVbtTitle[] = "Download of sampled vibrotorsional data";

// A "keyword=value unit" line of a header: the keyword, the number of unit
// characters cut from the end, and the field the value goes to.
struct HeaderField {
  const char* keyword;
  size_t unitCut;
  double HeaderParameters::*field;
};

// Reads the line into the field when it begins with the keyword.
bool ReadHeaderField(HeaderParameters& params, const HeaderField& f, const char* line,
                     size_t len);

// True when the line begins with the keyword (case-sensitive prefix match).
bool LineStartsWith(const char* line, size_t len, const char* keyword);

// Reads the value of a "keyword=value unit" line: the keyword is removed from
// the front and unitCut characters from the end, the rest read as a decimal real.
double ReadLineValue(const char* line, size_t len, size_t keywordLen, size_t unitCut);

// Copies at most cap-1 bytes of text into dst (zero-terminated); returns the count.
int CopyText(char* dst, int cap, const char* text, size_t len);

// One step of the VBT header state machine (states 0..15): fills the
// parameters (and the default settings) from the line. The line of state 14
// completes the header.
HeaderStep ParseHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                           const char* line, size_t len, int state);

// Splits a sample line into Cislot and Cslot (decimal integers, 32-bit
// wrap-around, unsigned). Returns false for a line without a comma.
bool ParseSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot);

}  // namespace tz
