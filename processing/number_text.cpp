#include "processing/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tz {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading white space and an optional sign; true for a minus.
bool SkipBlanksAndSign(const char* text, size_t len, size_t& i) {
  while (i < len && IsBlank(text[i])) ++i;
  if (i < len && (text[i] == '+' || text[i] == '-')) return text[i++] == '-';
  return false;
}

}  // namespace

double ReadDecimalReal(const char* text, size_t len) {
  size_t i = 0;
  const bool negative = SkipBlanksAndSign(text, len, i);
  const size_t start = i;
  size_t intDigits = 0, fracDigits = 0;
  while (i < len && IsDigit(text[i])) ++i, ++intDigits;
  if (i < len && text[i] == '.') {
    ++i;
    while (i < len && IsDigit(text[i])) ++i, ++fracDigits;
  }
  if (intDigits + fracDigits == 0) return 0.0;  // no digit: "." alone, "+", ""
  size_t end = i;
  // An exponent counts only when at least one digit follows it.
  if (i < len && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < len && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < len && IsDigit(text[j])) {
      while (j < len && IsDigit(text[j])) ++j;
      end = j;
    }
  }
  double value = 0.0;
  auto res = std::from_chars(text + start, text + end, value, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Out of range: decide between overflow and underflow from the decimal
    // exponent of the first nonzero digit plus the written exponent.
    long long lead = 0, zerosAfterPoint = 0, exp10 = 0;
    bool seenNonzero = false, point = false;
    size_t m = start;
    for (; m < end && text[m] != 'e' && text[m] != 'E'; ++m) {
      const char c = text[m];
      if (c == '.') {
        point = true;
      } else if (!seenNonzero) {
        if (c != '0') {
          seenNonzero = true;
          if (!point) lead = 1;
        } else if (point) {
          ++zerosAfterPoint;
        }
      } else if (!point) {
        ++lead;
      }
    }
    const long long magnitude = lead > 0 ? lead - 1 : -(zerosAfterPoint + 1);
    if (m < end) {
      ++m;  // the 'e'
      bool eneg = false;
      if (text[m] == '+' || text[m] == '-') eneg = text[m++] == '-';
      for (; m < end; ++m)
        if (exp10 < 100000000) exp10 = exp10 * 10 + (text[m] - '0');
      if (eneg) exp10 = -exp10;
    }
    value = (magnitude + exp10 > 0) ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (res.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

uint32_t ReadWrappedUInt32(const char* text, size_t len) {
  size_t i = 0;
  const bool negative = SkipBlanksAndSign(text, len, i);
  uint32_t v = 0;
  while (i < len && IsDigit(text[i])) {
    v = v * 10u + static_cast<uint32_t>(text[i] - '0');
    ++i;
  }
  return negative ? 0u - v : v;
}

uint32_t LowBitsOfTruncated(double x) {
  if (!std::isfinite(x)) return 0;
  double t = std::trunc(x);
  double m = std::fmod(t, 4294967296.0);  // exact
  if (m < 0) m += 4294967296.0;
  return static_cast<uint32_t>(m);
}

int TruncateClamp(double x, int lo, int hi) {
  if (std::isnan(x)) return lo;
  double t = std::trunc(x);
  if (t < lo) return lo;
  if (t > hi) return hi;
  return static_cast<int>(t);
}

}  // namespace tz
