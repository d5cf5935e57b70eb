#include "processing/vbt_reader.h"

#include <cstring>

#include "processing/analysis_record.h"
#include "processing/number_text.h"
#include "processing/run_context.h"
#include "processing/tdm_writer.h"

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

bool ReadHeaderField(AnalysisRecord& r, const HeaderField& f, const char* line, size_t len) {
  if (!LineStartsWith(line, len, f.keyword)) return false;
  r.params.*f.field = ReadLineValue(line, len, std::strlen(f.keyword), f.unitCut);
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

int ParseHeaderLine(AnalysisRecord& r, RunContext& run, const char* line, size_t len, int state) {
  switch (state) {
    case kVbtAwaitTitle:
      break;
    case kVbtDate:
      r.params.DateLen = CopyText(r.params.DateText, kDateTextSize, line, len);
      state = kVbtTime;
      break;
    case kVbtTime:
      r.params.TimeLen = CopyText(r.params.TimeText, kTimeTextSize, line, len);
      state = kVbtCounterPeriod;
      break;
    case kVbtCounterPeriod:
      if (!LineStartsWith(line, len, "Fmux=")) {
        run.ops.ShowMessage("VBT file Check", "Counter period not found or invalid .... Aborting!");
        return kHeaderAbort;
      }
      r.params.Fmux = ReadLineValue(line, len, 5, 2);
      state = kVbtFirstParameter;
      break;
    case kVbtWriteHeaders:
      WriteHeaderBlocks(r, run);
      state = kVbtSampleState;
      break;
    case kVbtSampleState:
      break;  // sample lines are handled by the run driver
    default: {
      if (state < kVbtFirstParameter || state > kVbtLastParameter) break;
      if (ReadHeaderField(r, kVbtFields[state - kVbtFirstParameter], line, len)) {
        if (state == kVbtRPMmax) {
          // The header imposes the default filter settings unless the user chose them.
          if (HeaderSetsFilter(r.settings, kFixThreshold))
            r.settings.RPMthreshold = kDefaultThresholdFraction * r.params.RPMmax;
          if (HeaderSetsFilter(r.settings, kFixMovAvg)) r.settings.MovAvgLen = kDefaultMovAvgLen;
          if (HeaderSetsFilter(r.settings, kFixOvershoot))
            r.settings.AllowedOvershoot = kDefaultOvershoot;
          if (HeaderSetsFilter(r.settings, kFixZeroCross))
            r.settings.ZeroCrossLen = kDefaultZeroCrossLen;
        }
        ++state;
      }
      break;
    }
  }
  if (LineStartsWith(line, len, kVbtTitle)) state = 1;
  return state;
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
