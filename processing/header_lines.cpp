#include "processing/header_lines.h"

#include <cstring>

#include "processing/number_text.h"

namespace tz {

bool LineStartsWith(const char* line, size_t len, const char* keyword) {
  const size_t k = std::strlen(keyword);
  return len >= k && std::memcmp(line, keyword, k) == 0;
}

double LineValue(const char* line, size_t len, const char* keyword, const char* unit) {
  const size_t keywordLen = std::strlen(keyword), unitLen = std::strlen(unit);
  size_t rest = len > keywordLen ? len - keywordLen : 0;
  rest = rest > unitLen ? rest - unitLen : 0;
  return ReadDecimalReal(line + keywordLen, rest);
}

int CopyText(char* dst, int cap, const char* text, size_t len) {
  const size_t n = len < static_cast<size_t>(cap - 1) ? len : static_cast<size_t>(cap - 1);
  std::memcpy(dst, text, n);
  dst[n] = '\0';
  return static_cast<int>(n);
}

bool ReadParameterLine(HeaderParameters& params, const ParameterLine& pl, HeaderForm form,
                       const char* line, size_t len) {
  const bool block = form == HeaderForm::Block;
  const char* keyword = block ? pl.keyword : pl.vbtKeyword;
  const char* unit = block ? (pl.blockUnitCut ? pl.unit : "") : pl.vbtUnit;
  if (!LineStartsWith(line, len, keyword)) return false;
  params.*pl.field = LineValue(line, len, keyword, unit);
  return true;
}

bool ReadSettingLine(ProcessingSettings& settings, const SettingLine& sl, const char* line,
                     size_t len) {
  if (!LineStartsWith(line, len, sl.keyword)) return false;
  if (!HeaderSetsFilter(settings, sl.bit)) return true;
  const double value = LineValue(line, len, sl.keyword, "");
  if (sl.real != nullptr)
    settings.*sl.real = value;
  else
    settings.*sl.length = TruncateClamp(value, sl.lo, sl.hi);  // never beyond the buffers
  return true;
}

}  // namespace tz
