#include "processing/format_sig10.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace tz {

size_t FormatSig10(double x, char* out, int n) {
  if (std::isnan(x)) {
    std::memcpy(out, "nan", 4);
    return 3;
  }
  if (std::isinf(x)) {
    if (x < 0) {
      std::memcpy(out, "-inf", 5);
      return 4;
    }
    std::memcpy(out, "inf", 4);
    return 3;
  }
  if (x == 0.0) {  // also -0.0
    std::memcpy(out, "0.", 3);
    return 2;
  }
  if (n < 1) n = 1;
  if (n > 17) n = 17;

  // Round to n significant digits: d.ddd...e+XX, correctly rounded.
  char sci[48];
  auto res = std::to_chars(sci, sci + sizeof sci, x, std::chars_format::scientific, n - 1);
  const char* p = sci;
  const char* endSci = res.ptr;
  size_t len = 0;
  if (*p == '-') {
    out[len++] = '-';
    ++p;
  }
  // Collect the n significant digits.
  char digits[20];
  int nd = 0;
  for (; p < endSci && *p != 'e'; ++p)
    if (*p != '.') digits[nd++] = *p;
  int e = 0;
  {
    const char* q = p + 1;  // after 'e'
    bool neg = *q == '-';
    ++q;
    for (; q < endSci; ++q) e = e * 10 + (*q - '0');
    if (neg) e = -e;
  }
  // Drop trailing zeros of the significant digits (keep at least one).
  while (nd > 1 && digits[nd - 1] == '0') --nd;

  if (e >= -1 && e <= n - 1) {
    if (e == -1) {
      out[len++] = '0';
      out[len++] = '.';
      std::memcpy(out + len, digits, nd);
      len += nd;
    } else {
      // e + 1 digits before the point.
      for (int i = 0; i <= e; ++i) out[len++] = i < nd ? digits[i] : '0';
      out[len++] = '.';
      for (int i = e + 1; i < nd; ++i) out[len++] = digits[i];
    }
  } else {
    out[len++] = digits[0];
    out[len++] = '.';
    for (int i = 1; i < nd; ++i) out[len++] = digits[i];
    out[len++] = 'e';
    int ae = e;
    if (ae < 0) {
      out[len++] = '-';
      ae = -ae;
    } else {
      out[len++] = '+';
    }
    out[len++] = static_cast<char>('0' + ae / 100);
    out[len++] = static_cast<char>('0' + ae / 10 % 10);
    out[len++] = static_cast<char>('0' + ae % 10);
  }
  out[len] = '\0';
  return len;
}

size_t FormatSig10Int(double x, char* out) {
  size_t len = FormatSig10(x, out, 10);
  if (len > 0) out[--len] = '\0';
  return len;
}

size_t FormatSig10Header(double x, char* out) {
  size_t len = FormatSig10(x, out, 10);
  if (len > 0 && out[len - 1] == '.') {
    out[len++] = '0';
    out[len] = '\0';
  }
  return len;
}

std::string Sig10(double x, int n) {
  char buf[kSig10Size];
  size_t len = FormatSig10(x, buf, n);
  return std::string(buf, len);
}

std::string Sig10Int(double x) {
  char buf[kSig10Size];
  size_t len = FormatSig10Int(x, buf);
  return std::string(buf, len);
}

std::string Sig10Header(double x) {
  char buf[kSig10Size];
  size_t len = FormatSig10Header(x, buf);
  return std::string(buf, len);
}

}  // namespace tz
