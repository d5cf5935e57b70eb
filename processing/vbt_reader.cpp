#include "processing/vbt_reader.h"

#include <cstring>
#include <iterator>

#include "processing/analysis_record.h"
#include "processing/header_lines.h"
#include "processing/number_text.h"

namespace tz {

static_assert(kVbtLastParameter - kVbtCounterPeriod + 1 == std::size(kParameterLines));

namespace {

// The instrument's header imposes the default filter settings once it has
// given RPMmax, unless the user chose them.
void ApplyHeaderDefaults(ProcessingSettings& settings, double RPMmax) {
  if (HeaderSetsFilter(settings, kFixThreshold))
    settings.RPMthreshold = kDefaultThresholdFraction * RPMmax;
  if (HeaderSetsFilter(settings, kFixMovAvg)) settings.MovAvgLen = kDefaultMovAvgLen;
  if (HeaderSetsFilter(settings, kFixOvershoot)) settings.AllowedOvershoot = kDefaultOvershoot;
  if (HeaderSetsFilter(settings, kFixZeroCross)) settings.ZeroCrossLen = kDefaultZeroCrossLen;
}

}  // namespace

HeaderStep ParseHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                           const char* line, size_t len, int state) {
  HeaderStep step{state};
  switch (state) {
    case kVbtAwaitTitle:
    case kVbtSampleState:  // sample lines are the run driver's
      break;
    case kVbtDate:
      params.DateLen = CopyText(params.DateText, kDateTextSize, line, len);
      step.state = kVbtTime;
      break;
    case kVbtTime:
      params.TimeLen = CopyText(params.TimeText, kTimeTextSize, line, len);
      step.state = kVbtCounterPeriod;
      break;
    case kVbtHeaderEnd:
      step = {kVbtSampleState, HeaderEvent::Complete};
      break;
    default: {  // the counter period and the parameters, each waited for in turn
      if (state < kVbtCounterPeriod || state > kVbtLastParameter) break;
      const ParameterLine& pl = kParameterLines[state - kVbtCounterPeriod];
      if (ReadParameterLine(params, pl, HeaderForm::Instrument, line, len)) {
        if (pl.field == &HeaderParameters::RPMmax) ApplyHeaderDefaults(settings, params.RPMmax);
        step.state = state + 1;
      } else if (state == kVbtCounterPeriod) {
        return {state, HeaderEvent::CounterPeriodMissing};  // it must follow the time line
      }
      break;
    }
  }
  if (LineStartsWith(line, len, kVbtTitle)) step.state = kVbtDate;
  return step;
}

bool ParseSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot) {
  const char* comma1 = static_cast<const char*>(std::memchr(line, ',', len));
  if (comma1 == nullptr) return false;
  const size_t len1 = static_cast<size_t>(comma1 - line);
  const char* f2 = comma1 + 1;
  const size_t rest = len - len1 - 1;
  const char* comma2 = static_cast<const char*>(std::memchr(f2, ',', rest));
  const size_t len2 = comma2 != nullptr ? static_cast<size_t>(comma2 - f2) : rest;
  *cislot = ReadWrappedUInt32(line, len1);
  *cslot = ReadWrappedUInt32(f2, len2);
  return true;
}

}  // namespace tz
