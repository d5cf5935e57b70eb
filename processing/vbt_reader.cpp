#include "processing/vbt_reader.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/number_text.h"

namespace tz {

bool LineStartsWith(const char* line, size_t len, const char* keyword) {
  const size_t k = std::strlen(keyword);
  return len >= k && std::memcmp(line, keyword, k) == 0;
}

double ReadLineValue(const char* line, size_t len, size_t keywordLen, size_t unitCut) {
  size_t rest = len > keywordLen ? len - keywordLen : 0;
  rest = rest > unitCut ? rest - unitCut : 0;
  return ReadDecimalReal(line + keywordLen, rest);
}

int CopyText(char* dst, int cap, const char* text, size_t len) {
  const size_t n = len < static_cast<size_t>(cap - 1) ? len : static_cast<size_t>(cap - 1);
  std::memcpy(dst, text, n);
  dst[n] = '\0';
  return static_cast<int>(n);
}

bool ReadHeaderField(HeaderParameters& params, const HeaderField& f, const char* line,
                     size_t len) {
  if (!LineStartsWith(line, len, f.keyword)) return false;
  params.*f.field = ReadLineValue(line, len, std::strlen(f.keyword), f.unitCut);
  return true;
}

namespace {

// States 4..13 of the VBT header: keyword, characters of unit, field.
const HeaderField kVbtFields[] = {
    {"G=", 6, &HeaderParameters::G},
    {"Rext=", 2, &HeaderParameters::Rext},
    {"Rint=", 2, &HeaderParameters::Rint},
    {"L=", 2, &HeaderParameters::L},
    {"N_SLOT=", 0, &HeaderParameters::N_SLOT},
    {"A_SLOT=", 0, &HeaderParameters::A_SLOT},
    {"Perc_Slot=", 0, &HeaderParameters::Perc_Slot},
    {"RPMmax=", 3, &HeaderParameters::RPMmax},
    {"PCoeff=", 0, &HeaderParameters::PCoeff},
    {"PDist=", 0, &HeaderParameters::PDist},
};

}  // namespace

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
    case kVbtCounterPeriod:
      if (!LineStartsWith(line, len, "Fmux=")) return {state, HeaderEvent::CounterPeriodMissing};
      params.Fmux = ReadLineValue(line, len, 5, 2);
      step.state = kVbtFirstParameter;
      break;
    case kVbtWriteHeaders:
      step = {kVbtSampleState, HeaderEvent::Complete};
      break;
    default:
      if (state < kVbtFirstParameter || state > kVbtLastParameter) break;
      if (ReadHeaderField(params, kVbtFields[state - kVbtFirstParameter], line, len)) {
        if (state == kVbtRPMmax) ApplyHeaderDefaults(settings, params.RPMmax);
        step.state = state + 1;
      }
      break;
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
