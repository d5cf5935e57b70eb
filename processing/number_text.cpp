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

size_t SkipDigits(const char* text, size_t len, size_t i) {
  while (i < len && IsDigit(text[i])) ++i;
  return i;
}

// End of an exponent (e or E, an optional sign, digits) that starts at i, or
// i itself: an exponent counts only when at least one digit follows it.
size_t ExponentEnd(const char* text, size_t len, size_t i) {
  if (i >= len || (text[i] != 'e' && text[i] != 'E')) return i;
  size_t j = i + 1;
  if (j < len && (text[j] == '+' || text[j] == '-')) ++j;
  if (j >= len || !IsDigit(text[j])) return i;
  return SkipDigits(text, len, j);
}

// Decimal exponent of the first nonzero digit of the mantissa text[i, end):
// 2 for "123.4", -3 for "0.00123".
long long LeadingExponent(const char* text, size_t i, size_t end) {
  long long intDigits = 0, zerosAfterPoint = 0;
  bool seenNonzero = false, point = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (c == '.') {
      point = true;
    } else if (seenNonzero || c != '0') {
      seenNonzero = true;
      if (!point) ++intDigits;
    } else if (point) {
      ++zerosAfterPoint;
    }
  }
  return intDigits > 0 ? intDigits - 1 : -(zerosAfterPoint + 1);
}

// The exponent written in text[i, end) ("e-12"; 0 when empty), held far
// beyond the range of a double.
long long WrittenExponent(const char* text, size_t i, size_t end) {
  constexpr long long kFarBeyond = 100000000;
  if (i >= end) return 0;
  ++i;  // the 'e'
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  long long e = 0;
  for (; i < end; ++i)
    if (e < kFarBeyond) e = e * 10 + (text[i] - '0');
  return negative ? -e : e;
}

}  // namespace

double ReadDecimalReal(const char* text, size_t len) {
  size_t i = 0;
  const bool negative = SkipBlanksAndSign(text, len, i);
  const size_t start = i;
  size_t mantissaEnd = SkipDigits(text, len, start);
  size_t digits = mantissaEnd - start;
  if (mantissaEnd < len && text[mantissaEnd] == '.') {
    const size_t fractionEnd = SkipDigits(text, len, mantissaEnd + 1);
    digits += fractionEnd - mantissaEnd - 1;
    mantissaEnd = fractionEnd;
  }
  if (digits == 0) return 0.0;  // no digit: "." alone, "+", ""
  const size_t end = ExponentEnd(text, len, mantissaEnd);

  double value = 0.0;
  const auto res = std::from_chars(text + start, text + end, value, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Overflow or underflow, told apart by the decimal exponent of the number.
    const long long exponent =
        LeadingExponent(text, start, mantissaEnd) + WrittenExponent(text, mantissaEnd, end);
    value = exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
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
