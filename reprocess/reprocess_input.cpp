#include "reprocess/reprocess_input.h"

#include <cstring>
#include <iterator>

#include "processing/analysis_record.h"
#include "processing/header_lines.h"
#include "processing/number_text.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"
#include "spectrum/fft_processor.h"

namespace tz {

namespace {

// States of the header block both files start with: the counter period,
// the parameters and the four settings have one state each, in the order of
// their tables (the order the header block writes them).
enum CommonHeaderState : int {
  kAwaitTitle = 0,
  kAfterTitle = 1,
  kDate = 2,
  kTime = 3,
  kCounterPeriod = 4,
  kFirstSetting = 15,
  kLastCommonState = 18,
};
static_assert(kFirstSetting - kCounterPeriod == std::size(kParameterLines));
static_assert(kLastCommonState - kFirstSetting + 1 == std::size(kSettingLines));

// States after the common block: the TDM file's data lines up to its end
// marker, the FDM file's FFT section; then the raw samples appended.
enum TdmState : int {
  kTdmAwaitEndMarker = 19,
  kTdmAfterEndMarker = 20,
  kTdmRawColumnLine = 21,
};
enum FdmState : int {
  kFdmAwaitFftTitle = 19,
  kFdmSamplingFreq = 20,
  kFdmSamplesNumber = 21,
  kFdmWindowLine = 22,
  kFdmSourceLine = 23,
  kFdmAwaitEndMarker = 24,
  kFdmAfterEndMarker = 25,
  kFdmRawColumnLine = 26,
};

// True when the line begins with the FDM line of one of the table's codes.
template <typename Table>
bool StartsWithAnyFdmLine(const char* line, size_t len, const Table& table) {
  for (const auto& entry : table)
    if (LineStartsWith(line, len, entry.fdmLine)) return true;
  return false;
}

// States 0..18, common to both files: title, date, time, parameters and the
// four filter settings (taken only while the header may set them).
// The text after a date or time line's keyword, which is not compared.
void CopyTextAfter(char* dst, int cap, int* dstLen, const char* keyword, const char* line,
                   size_t len) {
  const size_t k = std::strlen(keyword);
  *dstLen = CopyText(dst, cap, line + (len > k ? k : len), len > k ? len - k : 0);
}

// A parameter line: the counter period must follow the time line, the other
// lines are waited for in turn. The default threshold follows RPMmax.
HeaderStep ParseParameterLine(HeaderParameters& params, ProcessingSettings& settings,
                              const char* line, size_t len, int state) {
  const ParameterLine& pl = kParameterLines[state - kCounterPeriod];
  if (!ReadParameterLine(params, pl, HeaderForm::Block, line, len)) {
    if (state == kCounterPeriod) return {state, HeaderEvent::CounterPeriodMissing};
    return {state};
  }
  if (pl.field == &HeaderParameters::RPMmax && HeaderSetsFilter(settings, kFixThreshold))
    settings.RPMthreshold = kDefaultThresholdFraction * params.RPMmax;
  return {state + 1};
}

// States 0..18, common to both files: title, date, time, parameters and the
// four filter settings (taken only while the header may set them).
HeaderStep ParseCommonHeader(HeaderParameters& params, ProcessingSettings& settings,
                             const char* line, size_t len, int state) {
  switch (state) {
    case kAwaitTitle:
      return {kAwaitTitle};
    case kAfterTitle:
      return {kDate};
    case kDate:
      CopyTextAfter(params.DateText, kDateTextSize, &params.DateLen, kDateKeyword, line, len);
      return {kTime};
    case kTime:
      CopyTextAfter(params.TimeText, kTimeTextSize, &params.TimeLen, kTimeKeyword, line, len);
      return {kCounterPeriod};
    default:
      if (state < kFirstSetting) return ParseParameterLine(params, settings, line, len, state);
      if (!ReadSettingLine(settings, kSettingLines[state - kFirstSetting], line, len))
        return {state};
      return {state + 1};
  }
}

}  // namespace

HeaderStep ParseTdmHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                              const char* line, size_t len, int state) {
  HeaderStep step{state};
  if (state <= kLastCommonState) {
    step = ParseCommonHeader(params, settings, line, len, state);
    if (step.event == HeaderEvent::CounterPeriodMissing) return step;
  } else if (state == kTdmAwaitEndMarker) {
    if (LineStartsWith(line, len, kTdmEndMarker)) step.state = kTdmAfterEndMarker;
  } else if (state == kTdmAfterEndMarker) {
    step.state = kTdmRawColumnLine;  // the empty line after the marker
  } else if (state == kTdmRawColumnLine) {
    step = {kTdmSampleState, HeaderEvent::Complete};  // the column line of the appended samples
  }
  if (LineStartsWith(line, len, kTdmTitle)) step.state = kAfterTitle;
  return step;
}

HeaderStep ParseFdmHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                              const char* line, size_t len, int state) {
  HeaderStep step{state};
  switch (state) {
    case kFdmAwaitFftTitle:
      if (LineStartsWith(line, len, kFftSectionTitle)) step.state = kFdmSamplingFreq;
      break;
    case kFdmSamplingFreq:
      if (LineStartsWith(line, len, kFftSamplingFreq)) step.state = kFdmSamplesNumber;
      break;
    case kFdmSamplesNumber:
      if (LineStartsWith(line, len, kFftSamplesNumber)) step.state = kFdmWindowLine;
      break;
    case kFdmWindowLine:
      if (StartsWithAnyFdmLine(line, len, kFftWindows)) step.state = kFdmSourceLine;
      break;
    case kFdmSourceLine:
      if (StartsWithAnyFdmLine(line, len, kFftSources)) step.state = kFdmAwaitEndMarker;
      break;
    case kFdmAwaitEndMarker:
      // The end marker must fill the whole line.
      if (len == sizeof kFftEndMarker - 1 && std::memcmp(line, kFftEndMarker, len) == 0)
        step.state = kFdmAfterEndMarker;
      break;
    case kFdmAfterEndMarker:
      step.state = kFdmRawColumnLine;  // the empty line after the marker
      break;
    case kFdmRawColumnLine:
      step = {kFdmSampleState, HeaderEvent::Complete};  // the column line of the appended samples
      break;
    case kFdmSampleState:
      break;
    default:
      if (state > kLastCommonState) break;
      step = ParseCommonHeader(params, settings, line, len, state);
      if (step.event == HeaderEvent::CounterPeriodMissing) return step;
      break;
  }
  if (LineStartsWith(line, len, kFdmTitle)) step.state = kAfterTitle;
  return step;
}

bool ParseAppendedSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot) {
  const char* end = line + len;
  const char* c1 = static_cast<const char*>(std::memchr(line, ',', len));
  if (c1 == nullptr) return false;
  // Field k runs from after the k-th comma to the next comma or the line end;
  // a missing field is empty.
  auto field = [end](const char* start, const char** next) {
    const char* c = static_cast<const char*>(std::memchr(start, ',', end - start));
    *next = c;
    return c != nullptr ? c : end;
  };
  const char* f1 = c1 + 1;
  const char* c2;
  const char* e1 = field(f1, &c2);
  double v1 = ReadDecimalReal(f1, static_cast<size_t>(e1 - f1));
  double v2 = 0;
  if (c2 != nullptr) {
    const char* f2 = c2 + 1;
    const char* c3;
    const char* e2 = field(f2, &c3);
    v2 = ReadDecimalReal(f2, static_cast<size_t>(e2 - f2));
  }
  *cislot = LowBitsOfTruncated(v1);
  *cslot = LowBitsOfTruncated(v2);
  return true;
}

}  // namespace tz
