#include "reprocess/reprocess_input.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/number_text.h"
#include "processing/tdm_writer.h"
#include "processing/vbt_reader.h"
#include "spectrum/fft_processor.h"

namespace tz {

namespace {

// States of the header block both files start with; the parameter lines
// have one state each, in the order the header block writes them.
enum CommonHeaderState : int {
  kAwaitTitle = 0,
  kAfterTitle = 1,
  kDate = 2,
  kTime = 3,
  kCounterPeriod = 4,
  kFirstParameter = 5,  // G= .. PDist=
  kRPMmax = 12,         // the parameter the default threshold follows
  kOvershoot = 15,
  kMovAvg = 16,
  kThreshold = 17,
  kZeroCross = 18,
  kLastCommonState = kZeroCross,
};

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

// States 5..14: the measurement parameters as the header block writes them.
const HeaderField kParameterFields[] = {
    {"G=", 6, &HeaderParameters::G},
    {"Rext=", 2, &HeaderParameters::Rext},
    {"Rint=", 2, &HeaderParameters::Rint},
    {"L=", 2, &HeaderParameters::L},
    {"N_SLOT=", 0, &HeaderParameters::N_SLOT},
    {"A_SLOT=", 0, &HeaderParameters::A_SLOT},
    {"Perc_Slot=", 0, &HeaderParameters::Perc_Slot},
    {"RPMmax=", 0, &HeaderParameters::RPMmax},
    {"PCoeff=", 0, &HeaderParameters::PCoeff},
    {"PDist=", 0, &HeaderParameters::PDist},
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
// The state after a line that should have been the counter period.
constexpr int kNoCounterPeriod = -1;

int ParseCommonHeader(HeaderParameters& params, ProcessingSettings& settings, const char* line,
                      size_t len, int state) {
  switch (state) {
    case kAwaitTitle:
      return kAwaitTitle;
    case kAfterTitle:
      return kDate;
    case kDate:
      params.DateLen = CopyText(params.DateText, kDateTextSize, line + (len > 5 ? 5 : len),
                                  len > 5 ? len - 5 : 0);
      return kTime;
    case kTime:
      params.TimeLen = CopyText(params.TimeText, kTimeTextSize, line + (len > 5 ? 5 : len),
                                  len > 5 ? len - 5 : 0);
      return kCounterPeriod;
    case kCounterPeriod:
      if (!LineStartsWith(line, len, "Counter period=")) return kNoCounterPeriod;
      params.Fmux = ReadLineValue(line, len, 15, 2);
      return kFirstParameter;
    case kOvershoot: {
      static constexpr char kw[] = "Allowed overshot(%)=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(settings, kFixOvershoot))
        settings.AllowedOvershoot = ReadLineValue(line, len, sizeof kw - 1, 0);
      return kMovAvg;
    }
    case kMovAvg: {
      // Lengths outside the buffers never reach them: truncated, then clamped.
      static constexpr char kw[] = "Moving average filtering length=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(settings, kFixMovAvg))
        settings.MovAvgLen =
            TruncateClamp(ReadLineValue(line, len, sizeof kw - 1, 0), kMovAvgMin, kMovAvgMax);
      return kThreshold;
    }
    case kThreshold: {
      static constexpr char kw[] = "RPM threshold=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(settings, kFixThreshold))
        settings.RPMthreshold = ReadLineValue(line, len, sizeof kw - 1, 0);
      return kZeroCross;
    }
    case kZeroCross: {
      static constexpr char kw[] = "Zero crossing filter length=";
      if (!LineStartsWith(line, len, kw)) return state;
      if (HeaderSetsFilter(settings, kFixZeroCross))
        settings.ZeroCrossLen =
            TruncateClamp(ReadLineValue(line, len, sizeof kw - 1, 0), kZeroCrossMin, kZeroCrossMax);
      return kLastCommonState + 1;
    }
    default: {  // the parameter lines
      if (!ReadHeaderField(params, kParameterFields[state - kFirstParameter], line, len)) return state;
      if (state == kRPMmax && HeaderSetsFilter(settings, kFixThreshold))
        settings.RPMthreshold = kDefaultThresholdFraction * params.RPMmax;
      return state + 1;
    }
  }
}

}  // namespace

HeaderStep ParseTdmHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                              const char* line, size_t len, int state) {
  HeaderStep step{state};
  if (state <= kLastCommonState) {
    step.state = ParseCommonHeader(params, settings, line, len, state);
    if (step.state == kNoCounterPeriod) return {state, HeaderEvent::CounterPeriodMissing};
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
      step.state = ParseCommonHeader(params, settings, line, len, state);
      if (step.state == kNoCounterPeriod) return {state, HeaderEvent::CounterPeriodMissing};
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
