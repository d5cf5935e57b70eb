#include "processing/format_sig10.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tz {

namespace {

// The significant digits of a value and the decimal exponent of the first.
struct Digits {
  char d[20];
  int count;
  int exp;
};

// Exact: the correctly rounded n digits from the standard conversion.
void ExactDigits(double ax, int n, Digits* out) {
  char sci[48];
  const auto res = std::to_chars(sci, sci + sizeof sci, ax, std::chars_format::scientific, n - 1);
  const char* p = sci;
  out->count = 0;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p != '.') out->d[out->count++] = *p;
  int e = 0;
  const char* q = p + 1;  // after 'e'
  const bool neg = *q == '-';
  for (++q; q < res.ptr; ++q) e = e * 10 + (*q - '0');
  out->exp = neg ? -e : e;
}

// Powers of ten a double holds exactly.
constexpr double kPow10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10^(e + 1) for e = -13..30: where the decimal exponent of a value steps up.
constexpr double kNextPow10[44] = {
    1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2,
    1e-1,  1e0,   1e1,   1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
    1e10,  1e11,  1e12,  1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20,
    1e21,  1e22,  1e23,  1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31};

// ax x 10^k with one rounding (k within the exact powers).
inline double Scale(double ax, int k) { return k >= 0 ? ax * kPow10[k] : ax / kPow10[-k]; }

// "00".."99": two digits at a time.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline uint64_t Pair(uint32_t v) {  // v < 100: its two characters in the low bytes
  uint16_t two;
  std::memcpy(&two, kPairs + 2 * v, 2);
  return two;
}

// "-"?, the digits of v (1 <= v < 1e10) and the point.
inline size_t WholeNumber(bool negative, uint64_t v, char* out) {
  char* p = out;
  if (negative) *p++ = '-';
  int n = 1;
  for (uint64_t t = v; t >= 10; t /= 10) ++n;
  char* end = p + n;
  char* w = end;
  while (v >= 100) {
    w -= 2;
    std::memcpy(w, kPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (v >= 10) {
    w -= 2;
    std::memcpy(w, kPairs + 2 * v, 2);
  } else {
    *--w = static_cast<char>('0' + v);
  }
  end[0] = '.';
  end[1] = '\0';
  return static_cast<size_t>(end + 1 - out);
}

// Fast: the text of x with 10 digits by one scaling to 1e9..1e10 and one
// rounding to an integer. The scaling rounds once, so the scaled value lies
// within half an ulp (under 1e-6 here) of the exact one; unless it lies
// that close to a half, both round to the same integer. Returns 0 where that
// cannot be proved (near a half, ties, far exponents, subnormals, zero and
// the non-finite values): the exact conversion decides there. Writes in
// fixed blocks within the kSig10Size bytes of out.
size_t FastSig10(double x, char* out) {
  uint64_t bits;
  std::memcpy(&bits, &x, sizeof bits);
  const int biased = static_cast<int>(bits >> 52) & 0x7ff;
  if (biased == 0 || biased == 0x7ff) return 0;
  const double ax = std::fabs(x);
  // Whole numbers under 1e10 (counts, line numbers) are their own ten
  // digits: written as an integer and its point.
  if (ax < 1e10) {
    const uint64_t whole = static_cast<uint64_t>(ax);
    if (static_cast<double>(whole) == ax) return WholeNumber(x < 0, whole, out);
  }
  // floor(log10(ax)) is this estimate or one more: floor(b log10(2)) in
  // integers (78913 / 2^18 gives it exactly for every binary exponent; the
  // shift floors negative values too).
  int e = ((biased - 1023) * 78913) >> 18;
  if (e < -13 || e > 30) return 0;
  // One more when ax reaches the next power (a power given inexactly can
  // misplace a value an ulp from it: the range check below sends it on).
  e += ax >= kNextPow10[e + 13];
  const double y = Scale(ax, 9 - e);
  if (!(y >= 1e9 && y < 1e10)) return 0;
  const int64_t whole = static_cast<int64_t>(y);  // y > 0: truncation is the floor
  const double frac = y - static_cast<double>(whole);  // exact: the two are this close
  if (std::fabs(frac - 0.5) <= 4e-6) return 0;  // one test, rarely true: well predicted
  uint64_t q = static_cast<uint64_t>(whole) + (frac > 0.5 ? 1 : 0);
  if (q == 10000000000ull) {
    q = 1000000000ull;
    ++e;
  }

  // The ten digits as characters in one 128-bit register, the first digit
  // in the lowest byte; the five pairs are split from q independently.
  const uint32_t top = static_cast<uint32_t>(q / 100000000), rest = static_cast<uint32_t>(q % 100000000);
  const uint64_t eight = Pair(rest / 1000000) | Pair(rest / 10000 % 100) << 16 |
                         Pair(rest / 100 % 100) << 32 | Pair(rest % 100) << 48;
  const unsigned __int128 D =
      static_cast<unsigned __int128>(Pair(top)) | (static_cast<unsigned __int128>(eight) << 16);
  // Significant digits without the trailing zeros (q >= 1e9: the first never is).
  constexpr uint64_t kAscii = 0x3030303030303030ull;
  const uint64_t values = eight - kAscii;  // digit values, one per byte
  const int nd = values != 0 ? 3 + ((63 - __builtin_clzll(values)) >> 3) : (top % 10 != 0 ? 2 : 1);

  char* p = out;
  if (x < 0) *p++ = '-';
  unsigned __int128 text;
  int len;
  if (e >= 0 && e <= 9) {
    // e + 1 digits (zeros included) before the point, the rest behind it.
    const int cut = 8 * (e + 1);
    const unsigned __int128 below = (static_cast<unsigned __int128>(1) << cut) - 1;
    text = (D & below) | (static_cast<unsigned __int128>('.') << cut) | ((D & ~below) << 8);
    len = (nd > e + 1 ? nd : e + 1) + 1;
  } else if (e == -1) {
    text = (D << 16) | 0x2e30u;  // "0."
    len = 2 + nd;
  } else {
    text = (D & 0xffu) | (static_cast<unsigned __int128>('.') << 8) | ((D >> 8) << 16);
    len = 1 + nd;
  }
  std::memcpy(p, &text, 16);
  p += len;
  if (e < -1 || e > 9) {
    const int ae = e < 0 ? -e : e;
    const uint64_t exponent = 'e' | static_cast<uint64_t>(e < 0 ? '-' : '+') << 8 | uint64_t{'0'} << 16 |
                              static_cast<uint64_t>('0' + ae / 10) << 24 |
                              static_cast<uint64_t>('0' + ae % 10) << 32;
    std::memcpy(p, &exponent, 8);
    p += 5;
  }
  *p = '\0';
  return static_cast<size_t>(p - out);
}

inline size_t Layout(bool negative, Digits& g, int n, char* out) {
  size_t len = 0;
  if (negative) out[len++] = '-';
  int nd = g.count;
  const char* digits = g.d;
  // Drop trailing zeros of the significant digits (keep at least one).
  while (nd > 1 && digits[nd - 1] == '0') --nd;
  const int e = g.exp;
  if (e >= -1 && e <= n - 1) {
    if (e == -1) {
      out[len++] = '0';
      out[len++] = '.';
      std::memcpy(out + len, digits, nd);
      len += nd;
    } else if (e < nd) {
      // e + 1 digits before the point, the rest behind it.
      std::memcpy(out + len, digits, e + 1);
      len += e + 1;
      out[len++] = '.';
      std::memcpy(out + len, digits + e + 1, nd - e - 1);
      len += nd - e - 1;
    } else {
      std::memcpy(out + len, digits, nd);
      len += nd;
      for (int i = nd; i <= e; ++i) out[len++] = '0';
      out[len++] = '.';
    }
  } else {
    out[len++] = digits[0];
    out[len++] = '.';
    std::memcpy(out + len, digits + 1, nd - 1);
    len += nd - 1;
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

// Non-finite values and zero; returns 0 for every other value.
size_t Special(double x, char* out) {
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
  return 0;
}

}  // namespace

size_t FormatSig10(double x, char* out, int n) {
  if (n == 10) {
    if (const size_t len = FastSig10(x, out)) return len;
  }
  return FormatSig10Exact(x, out, n);
}

size_t FormatSig10Exact(double x, char* out, int n) {
  if (const size_t len = Special(x, out)) return len;
  if (n < 1) n = 1;
  if (n > 17) n = 17;
  Digits g;
  ExactDigits(std::fabs(x), n, &g);
  return Layout(std::signbit(x), g, n, out);
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
