#include "settings/filter_rules.h"

#include <algorithm>

#include "processing/format_sig10.h"
#include "processing/number_text.h"
#include "processing/codes.h"

namespace tz {

std::string RealBoxText(double x) {
  std::string s = Sig10(x);
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

std::string WholeBoxText(int n) { return std::to_string(static_cast<uint32_t>(n)); }

FilterTexts FilterBoxTexts(const AnalysisRecord& r) {
  return {RealBoxText(r.settings.AllowedOvershoot), WholeBoxText(r.settings.MovAvgLen),
          RealBoxText(r.settings.RPMthreshold), WholeBoxText(r.settings.ZeroCrossLen)};
}

double ReadRealEntry(std::string_view text) {
  return ReadDecimalReal(text.data(), std::min(text.size(), kRealEntryChars));
}

uint32_t ReadWholeEntry(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  uint64_t v = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + static_cast<uint64_t>(text[i] - '0');
    if (v > UINT32_MAX) return 0;
  }
  return static_cast<uint32_t>(v);
}

FilterEntries ReadFilterEntries(const FilterTexts& t) {
  return {ReadRealEntry(t.overshoot), ReadWholeEntry(t.movAvgLen),
          ReadRealEntry(t.threshold), ReadWholeEntry(t.zeroCrossLen)};
}

int ClampMovAvgLen(uint32_t n) { return TruncateClamp(n, kMovAvgMin, kMovAvgMax); }
int ClampZeroCrossLen(uint32_t n) { return TruncateClamp(n, kZeroCrossMin, kZeroCrossMax); }

bool StoreFilterEntries(AnalysisRecord& r, const FilterEntries& e) {
  // The lengths are compared as the boxes show them: unsigned.
  const bool unchanged = e.overshoot == r.settings.AllowedOvershoot &&
                         e.movAvgLen == static_cast<uint32_t>(r.settings.MovAvgLen) &&
                         e.threshold == r.settings.RPMthreshold &&
                         e.zeroCrossLen == static_cast<uint32_t>(r.settings.ZeroCrossLen);
  if (unchanged) {
    r.settings.MovAvgLen = ClampMovAvgLen(static_cast<uint32_t>(r.settings.MovAvgLen));
    r.settings.ZeroCrossLen = ClampZeroCrossLen(static_cast<uint32_t>(r.settings.ZeroCrossLen));
    return false;
  }
  r.settings.AllowedOvershoot = e.overshoot;
  r.settings.MovAvgLen = ClampMovAvgLen(e.movAvgLen);
  r.settings.RPMthreshold = e.threshold;
  r.settings.ZeroCrossLen = ClampZeroCrossLen(e.zeroCrossLen);
  return true;
}

void ConfirmFilterSettings(AnalysisRecord& r, const FilterTexts& t) {
  StoreFilterEntries(r, ReadFilterEntries(t));
  r.settings.UseFilterDefaults = 0;
}

}  // namespace tz
