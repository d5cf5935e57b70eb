#include "display/format_decimals.h"

#include <algorithm>
#include <cmath>

#include "processing/format_sig10.h"

namespace tz {

namespace {
constexpr int kMaxDecimals = 9;        // more are cut to this many
constexpr int kDigitsBeyond = 8;       // significant digits written beyond the decimals
constexpr size_t kExponentChars = 5;   // "e", its sign and three digits
}  // namespace

std::string FormatDecimals(double value, int decimals) {
  const int d = std::clamp(decimals, 0, kMaxDecimals);
  char buf[kSig10Size];
  std::string text(buf, FormatSig10(value, buf, d + kDigitsBeyond));
  // "inf" and "nan" have no point to cut behind.
  if (!std::isfinite(value)) return text;
  if (!text.empty() && text.back() == '.') {
    text.pop_back();
    return text;
  }
  const size_t dot = text.rfind('.');
  const size_t p = dot == std::string::npos ? 0 : dot;
  size_t e = text.find_last_of("eE");
  if (e == std::string::npos || e < p) e = p;
  const bool hasExponent = e != p;
  if (e <= p + d) {
    if (!hasExponent && text.size() > p + d + 1) text.resize(p + d + 1);
    return text;
  }
  return text.substr(0, p + d + 1) + text.substr(e, kExponentChars);
}

}  // namespace tz
