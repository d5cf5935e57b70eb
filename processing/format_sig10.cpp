#include "processing/format_sig10.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

// The fast formatter builds its text in an SSE2 register where there is one
// (every x86-64 has it), in two words elsewhere or with TZ_PORTABLE_SIG10.
#if defined(__SSE2__) && !defined(TZ_PORTABLE_SIG10)
#define TZ_SIG10_SSE2 1
#include <emmintrin.h>
#endif

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

// The fast formatter keeps text in little-endian words and registers: the
// first character in the lowest byte, stored as it is.
static_assert(std::endian::native == std::endian::little);

// 10^k for k = -22..31: exact for 10^0..10^22, correctly rounded elsewhere.
constexpr double kPow10[54] = {
    1e-22, 1e-21, 1e-20, 1e-19, 1e-18, 1e-17, 1e-16, 1e-15, 1e-14, 1e-13, 1e-12, 1e-11,
    1e-10, 1e-9,  1e-8,  1e-7,  1e-6,  1e-5,  1e-4,  1e-3,  1e-2,  1e-1,  1e0,   1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,   1e7,   1e8,   1e9,   1e10,  1e11,  1e12,  1e13,
    1e14,  1e15,  1e16,  1e17,  1e18,  1e19,  1e20,  1e21,  1e22,  1e23,  1e24,  1e25,
    1e26,  1e27,  1e28,  1e29,  1e30,  1e31};
constexpr double Pow10(int k) { return kPow10[k + 22]; }

// The fast formatter covers the binades [2^b, 2^(b+1)) for b = -43..102, where
// the decimal exponents stay within -13..31. Per binade, indexed by its
// biased exponent less kFirstBiased: its decimal exponent e0 = floor(b
// log10(2)) (78913 / 2^18 gives it exactly for every b; the shift floors
// negative values too), where the next one starts (10^(e0+1) as the bits of
// a double shifted up one, dropping the sign: positive doubles compare as
// their bits), and the factors that scale a value to ten digits before the
// point, 10^(9 - e0) below that start and 10^(8 - e0) from it on.
constexpr int kFirstBinade = -43, kBinades = 146, kFirstBiased = 1023 + kFirstBinade;

struct BinadeTables {
  uint64_t next[kBinades];
  double scale[2][kBinades];
  int32_t e0[kBinades];
};

constexpr BinadeTables MakeBinadeTables() {
  BinadeTables t{};
  for (int i = 0; i < kBinades; ++i) {
    const int e0 = ((kFirstBinade + i) * 78913) >> 18;
    t.next[i] = std::bit_cast<uint64_t>(Pow10(e0 + 1)) << 1;
    t.scale[0][i] = Pow10(9 - e0);
    t.scale[1][i] = Pow10(8 - e0);
    t.e0[i] = e0;
  }
  return t;
}
constexpr BinadeTables kBinade = MakeBinadeTables();

// "00".."99": two digits at a time.
constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

inline uint16_t Pair(uint32_t v) {  // v < 100: its two characters
  uint16_t two;
  std::memcpy(&two, kPairs + 2 * v, 2);
  return two;
}

// The ten digits of q (10^9 <= q < 10^10) as the pairs "00".."99" they are
// written with, first to last. The first pair is q / 10^8 (q >> 8 / 390625
// in 32 bits); the others lead the fractions (q mod 10^8) / 10^8 and
// (q mod 10^4) / 10^4, which q x ceil(2^64 / 10^8) and q x ceil(2^64 / 10^4)
// hold in their low 64 bits, too high by under 2^-30. Rounded up to 32 bits
// and times 100, a fraction gives a pair above bit 32 and the rest below it;
// times 100 again, the next pair. Each comes out at most 1.2e-5 above the
// value it is the floor of, less than the step between those values (10^-6,
// 10^-4 and 1): every pair is exact (checked for every q).
struct TenDigits {
  uint32_t pair[5];
};

inline TenDigits PairsOf(uint64_t q) {
  TenDigits d;
  d.pair[0] = static_cast<uint32_t>(q >> 8) / 390625;
  const auto two = [q](uint64_t inverse, uint32_t* out) {
    const uint64_t t = (((q * inverse) >> 32) + 1) * 100;
    out[0] = static_cast<uint32_t>(t >> 32);
    out[1] = static_cast<uint32_t>((t & 0xffffffff) * 100 >> 32);
  };
  two(~uint64_t{0} / 100'000'000 + 1, &d.pair[1]);
  two(~uint64_t{0} / 10'000 + 1, &d.pair[3]);
  return d;
}

// Fixed notation with the point after character p (p = 0..9) of a text of
// up to 16 bytes: the bytes that stay before the point, and the point
// itself; the bytes after it move up by one.
struct PointAt {
  uint64_t keep[2];
  uint64_t point[2];
};

constexpr PointAt MakePointAt(int p) {
  PointAt m{};
  for (int i = 0; i <= p; ++i) m.keep[i / 8] |= uint64_t{0xff} << 8 * (i % 8);
  m.point[(p + 1) / 8] = uint64_t{'.'} << 8 * ((p + 1) % 8);
  return m;
}

alignas(16) constexpr PointAt kPointAt[10] = {
    MakePointAt(0), MakePointAt(1), MakePointAt(2), MakePointAt(3), MakePointAt(4),
    MakePointAt(5), MakePointAt(6), MakePointAt(7), MakePointAt(8), MakePointAt(9)};

#if TZ_SIG10_SSE2
// Sixteen characters in one register.
struct Text16 {
  __m128i v;
};

inline Text16 TextOf(const TenDigits& d) {
  // Two partial registers: the inserts into each wait on one another.
  const __m128i zero = _mm_setzero_si128();
  __m128i a = _mm_insert_epi16(zero, Pair(d.pair[0]), 0);
  a = _mm_insert_epi16(a, Pair(d.pair[1]), 1);
  __m128i b = _mm_insert_epi16(zero, Pair(d.pair[2]), 2);
  b = _mm_insert_epi16(b, Pair(d.pair[3]), 3);
  b = _mm_insert_epi16(b, Pair(d.pair[4]), 4);
  return {_mm_or_si128(a, b)};
}

// The length of the text with its point after character p: up to the last
// digit that is not '0' or to the point's place, whichever comes later, and
// the point. One bit a character: the digits above '0' and those kept.
inline int TextLength(Text16 t, int p) {
  const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(kPointAt[p].keep));
  const __m128i ends = _mm_or_si128(_mm_cmpgt_epi8(t.v, _mm_set1_epi8('0')), keep);
  return (std::countl_zero(static_cast<unsigned>(_mm_movemask_epi8(ends)) | 1u) ^ 31) + 2;
}

// '0' before the digits.
inline Text16 WithLeadingZero(Text16 t) { return {_mm_or_si128(_mm_slli_si128(t.v, 1), _mm_cvtsi32_si128('0'))}; }

// The text with its point after character p, stored at out (16 bytes).
inline void StoreWithPoint(Text16 t, int p, char* out) {
  const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(kPointAt[p].keep));
  const __m128i point = _mm_load_si128(reinterpret_cast<const __m128i*>(kPointAt[p].point));
  const __m128i moved = _mm_slli_si128(_mm_andnot_si128(keep, t.v), 1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                   _mm_or_si128(_mm_or_si128(_mm_and_si128(keep, t.v), moved), point));
}
#else
// Sixteen characters in two words.
struct Text16 {
  uint64_t lo, hi;
};

inline Text16 TextOf(const TenDigits& d) {
  return {uint64_t{Pair(d.pair[0])} | uint64_t{Pair(d.pair[1])} << 16 | uint64_t{Pair(d.pair[2])} << 32 |
              uint64_t{Pair(d.pair[3])} << 48,
          Pair(d.pair[4])};
}

// The length of the text with its point after character p: up to the last
// digit that is not '0' or to the point's place, whichever comes later, and
// the point. The top bit of a byte: a digit above '0' (+ 0x4f carries no
// character into the next byte) or a byte kept.
inline int TextLength(Text16 t, int p) {
  constexpr uint64_t kAbove = 0x4f4f4f4f4f4f4f4full, kTop = 0x8080808080808080ull;
  const uint64_t lo = ((t.lo + kAbove) | kPointAt[p].keep[0]) & kTop;
  const uint64_t hi = ((t.hi + kAbove) | kPointAt[p].keep[1]) & kTop;
  const int last = hi != 0 ? 8 + static_cast<int>((std::bit_width(hi) - 1) / 8)
                           : static_cast<int>((std::bit_width(lo) - 1) / 8);
  return last + 2;
}

// '0' before the digits.
inline Text16 WithLeadingZero(Text16 t) { return {t.lo << 8 | '0', t.hi << 8 | t.lo >> 56}; }

// The text with its point after character p, stored at out (16 bytes).
inline void StoreWithPoint(Text16 t, int p, char* out) {
  const PointAt& m = kPointAt[p];
  const uint64_t stayLo = t.lo & m.keep[0], stayHi = t.hi & m.keep[1];
  const uint64_t moveLo = t.lo ^ stayLo, moveHi = t.hi ^ stayHi;
  const uint64_t lo = stayLo | moveLo << 8 | m.point[0];
  const uint64_t hi = stayHi | moveHi << 8 | moveLo >> 56 | m.point[1];
  std::memcpy(out, &lo, 8);
  std::memcpy(out + 8, &hi, 8);
}
#endif

// Fast: the text of x with 10 digits by one scaling to 1e9..1e10 and one
// rounding to an integer. The scaled value y lies within 2.1e-6 of the exact
// one Y (half an ulp of the product, and for the factors below 1, which a
// double holds inexactly, as much again). Adding 2^35 rounds y to c, the
// nearest multiple of 2^-17, and puts c x 2^17 in the low bits of the sum.
// As y is nearer to Y than half that step, c lies on the same side of a
// half as Y, or on the half itself: only there (ties and values a few
// millionths from one), at a carry into an eleventh digit, at far exponents
// and for subnormals, zero and the non-finite values, the exact conversion
// decides. Whole numbers take the same way: their scaling is exact. Writes
// in fixed blocks within the kSig10Size bytes of out.
size_t FastSig10(double x, char* out) {
  const uint64_t bits = std::bit_cast<uint64_t>(x);
  const uint64_t magnitude = bits << 1;  // without the sign
  const uint64_t binade = (magnitude >> 53) - kFirstBiased;
  if (binade >= kBinades) return FormatSig10Exact(x, out, 10);
  // A predicted branch: the values of a column mostly keep their exponent.
  const bool up = magnitude >= kBinade.next[binade];
  const double ax = std::fabs(x);
  const double y = up ? ax * kBinade.scale[1][binade] : ax * kBinade.scale[0][binade];
  const uint64_t r = std::bit_cast<uint64_t>(y + 0x1p35) - std::bit_cast<uint64_t>(0x1p35) + (1 << 16);
  // y > 1e9 - 1e-6 even for a value an ulp below a power of ten that the
  // comparison places at it: q >= 10^9.
  const uint64_t q = r >> 17;
  if (q >= 10'000'000'000) return FormatSig10Exact(x, out, 10);
  if ((r & 0x1ffff) == 0) return FormatSig10Exact(x, out, 10);  // c on a half
  const int e = kBinade.e0[binade] + up;

  Text16 t = TextOf(PairsOf(q));
  int point = e;
  char* p = out;
  *p = '-';
  p += bits >> 63;
  if (static_cast<unsigned>(e) > 9) [[unlikely]] {
    point = 0;
    if (e == -1) {  // "0." and the digits: the point after a leading '0'
      t = WithLeadingZero(t);
    } else {  // d.ddd and the exponent behind the last significant digit
      StoreWithPoint(t, 0, p);
      p += TextLength(t, 0);
      const int ae = e < 0 ? -e : e;
      const uint64_t exponent = 'e' | static_cast<uint64_t>(e < 0 ? '-' : '+') << 8 | uint64_t{'0'} << 16 |
                                static_cast<uint64_t>('0' + ae / 10) << 24 |
                                static_cast<uint64_t>('0' + ae % 10) << 32;
      std::memcpy(p, &exponent, 8);
      return static_cast<size_t>(p + 5 - out);
    }
  }
  StoreWithPoint(t, point, p);
  p += TextLength(t, point);
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
  return n == 10 ? FastSig10(x, out) : FormatSig10Exact(x, out, n);
}

size_t FormatSig10Exact(double x, char* out, int n) {
  if (const size_t len = Special(x, out)) return len;
  if (n < 1) n = 1;
  if (n > 17) n = 17;
  Digits g;
  ExactDigits(std::fabs(x), n, &g);
  return Layout(std::signbit(x), g, n, out);
}

namespace {

// A whole number below 10^10 has at most ten digits, all significant: its
// text is the number in decimal and the point, so its integer form is the
// decimal number alone (0 for either zero).
int DecimalDigits(uint64_t v) {
  // 10^t for t >= 1; 0 for t = 0, so that 0 has one digit.
  static constexpr uint64_t kBelow[] = {0,         10,         100,         1000,
                                        10000,     100000,     1000000,     10000000,
                                        100000000, 1000000000, 10000000000};
  // log10(2) ~ 1233 / 4096: t is the digit count or one less.
  const int t = static_cast<int>((std::bit_width(v | 1) * 1233) >> 12);
  return t + (v >= kBelow[t] ? 1 : 0);
}

size_t WholeNumberText(uint64_t v, bool negative, char* out) {
  if (negative) *out++ = '-';
  const int digits = DecimalDigits(v);
  char* p = out + digits;
  *p = '\0';
  while (v >= 100) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * (v % 100), 2);
    v /= 100;
  }
  if (v >= 10) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * v, 2);
  } else {
    *--p = static_cast<char>('0' + v);
  }
  return static_cast<size_t>(digits) + (negative ? 1 : 0);
}

}  // namespace

size_t FormatSig10Int(double x, char* out) {
  // The counts, indices and line numbers of the files take the short way.
  const double ax = std::fabs(x);
  if (ax < 1e10) {
    const uint64_t v = static_cast<uint64_t>(ax);
    if (static_cast<double>(v) == ax) return WholeNumberText(v, x < 0, out);
  }
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
