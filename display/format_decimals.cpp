#include "display/format_decimals.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>

#include "processing/format_sig10.h"

namespace tz {

namespace {
constexpr int kMaxDecimals = 9;   // more are cut to this many
constexpr int kDigitsBeyond = 8;  // significant digits written beyond the decimals

// A decimal number taken apart: sign, the digits before and behind the
// point, and the exponent of an exponential text (one digit before the point).
struct DecimalText {
  bool negative = false;
  std::string whole, fraction;
  bool hasExponent = false;
  int exponent = 0;
};

// The shortest decimal that reads back as the value (2.675 for the double
// just under it), laid out as a mantissa and exponent or as a fixed text.
DecimalText Shortest(double value, bool exponential) {
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific).ptr;
  std::string_view text(buf, static_cast<size_t>(end - buf));
  DecimalText t;
  if (text.front() == '-') {
    t.negative = true;
    text.remove_prefix(1);
  }
  const size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e))
    if (c != '.') digits += c;
  const std::string_view exponent = text.substr(e + 2);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), t.exponent);
  if (text[e + 1] == '-') t.exponent = -t.exponent;
  if (exponential) {
    t.hasExponent = true;
    t.whole = digits.substr(0, 1);
    t.fraction = digits.substr(1);
  } else if (t.exponent >= 0) {  // the first digit stands at 10^exponent
    const auto wholeDigits = static_cast<size_t>(t.exponent) + 1;
    if (digits.size() < wholeDigits) digits.resize(wholeDigits, '0');
    t.whole = digits.substr(0, wholeDigits);
    t.fraction = digits.substr(wholeDigits);
  } else {
    t.whole.assign(1, '0');  // (assigning "0" trips a false -Wrestrict of GCC 12)
    t.fraction.assign(static_cast<size_t>(-t.exponent - 1), '0');
    t.fraction += digits;
  }
  return t;
}

// Rounds the digits to d behind the point, half away from zero (the sign
// stands apart, so up is away from zero). A carry out of the first digit
// adds a digit in front; in an exponential text it moves the exponent
// instead, so one digit stays before the point.
void RoundTo(DecimalText& t, size_t d) {
  if (t.fraction.size() <= d) return;
  const bool up = t.fraction[d] >= '5';
  t.fraction.resize(d);
  if (!up) return;
  std::string digits = t.whole + t.fraction;
  size_t i = digits.size();
  while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
  if (i > 0) {
    ++digits[i - 1];
  } else {
    digits.insert(digits.begin(), '1');
  }
  const size_t wholeDigits = digits.size() - d;
  if (t.hasExponent && wholeDigits > 1) {  // 9.99e-005 became 10.00e-005
    ++t.exponent;
    t.whole = digits.substr(0, 1);
    t.fraction = digits.substr(1, d);
    return;
  }
  t.whole = digits.substr(0, wholeDigits);
  t.fraction = digits.substr(wholeDigits);
}

// The text again: trailing zeros behind the point removed, the point kept
// only before decimals or an exponent (three digits, as the file rule
// writes it), no sign on a zero.
std::string Compose(DecimalText t) {
  while (!t.fraction.empty() && t.fraction.back() == '0') t.fraction.pop_back();
  const bool zero = t.whole.find_first_not_of('0') == std::string::npos && t.fraction.empty();
  std::string out = t.negative && !zero ? "-" : "";
  out += t.whole;
  if (!t.fraction.empty() || t.hasExponent) out += '.';
  out += t.fraction;
  if (t.hasExponent) {
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%03d", t.exponent < 0 ? '-' : '+',
                  std::abs(t.exponent));
    out += exponent;
  }
  return out;
}

}  // namespace

std::string FormatDecimals(double value, int decimals) {
  const int d = std::clamp(decimals, 0, kMaxDecimals);
  const int digits = d + kDigitsBeyond;
  char buf[kSig10Size];
  const std::string text(buf, FormatSig10(value, buf, digits));
  // "inf" and "nan" have no digits to round.
  if (!std::isfinite(value)) return text;
  // The file rule decides the notation; the digits come from the value.
  DecimalText t = Shortest(value, text.find_first_of("eE") != std::string::npos);
  // A fixed text keeps the file rule's number of significant digits at most.
  const int room = t.hasExponent ? d : digits - static_cast<int>(t.whole.size());
  RoundTo(t, static_cast<size_t>(std::clamp(room, 0, d)));
  return Compose(std::move(t));
}

}  // namespace tz
