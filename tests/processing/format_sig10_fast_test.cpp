// The fast path of FormatSig10 against the exact conversion: the same text
// for every double, over tens of millions of values chosen where a fast
// conversion goes wrong (ties at the tenth digit, values an ulp around each
// rounding boundary and either side of the window where the fast path hands
// over, powers of ten and of two, carries through nines, every count of
// significant digits at every place of the point, subnormals) and at random.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "processing/format_sig10.h"

namespace tz {
namespace {

#ifdef TZ_SANITIZED
constexpr int kScale = 8;  // the instrumented build runs a share of the values
#else
constexpr int kScale = 1;
#endif

double FromBits(uint64_t b) {
  double x;
  std::memcpy(&x, &b, sizeof x);
  return x;
}

// Counts the values checked and stops at the first difference.
struct Checker {
  uint64_t checked = 0;
  bool Same(double x) {
    char fast[kSig10Size], exact[kSig10Size];
    const size_t a = FormatSig10(x, fast), b = FormatSig10Exact(x, exact);
    ++checked;
    if (a == b && std::memcmp(fast, exact, a) == 0) return true;
    char hex[64];
    std::snprintf(hex, sizeof hex, "%a", x);
    ADD_FAILURE() << hex << ": fast \"" << fast << "\", exact \"" << exact << "\"";
    return false;
  }
  // x and its neighbours a few ulps either side.
  bool Around(double x, int ulps) {
    double up = x, down = x;
    if (!Same(x)) return false;
    for (int i = 0; i < ulps; ++i) {
      up = std::nextafter(up, std::numeric_limits<double>::infinity());
      down = std::nextafter(down, -std::numeric_limits<double>::infinity());
      if (!Same(up) || !Same(down)) return false;
    }
    return true;
  }
};

TEST(FormatSig10Fast, RandomBitPatternsCoverEveryExponent) {
  std::mt19937_64 rng(20261208);
  Checker c;
  for (int i = 0; i < 8'000'000 / kScale; ++i)
    if (!c.Same(FromBits(rng()))) return;
  EXPECT_EQ(c.checked, 8'000'000u / kScale);
}

TEST(FormatSig10Fast, RandomValuesOfTheMagnitudesARunWrites) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-16, 33);
  Checker c;
  for (int i = 0; i < 8'000'000 / kScale; ++i) {
    const double x = mantissa(rng) * std::pow(10.0, exponent(rng));
    if (!c.Same(rng() & 1 ? x : -x)) return;
  }
}

TEST(FormatSig10Fast, TiesAndBoundariesOfTheTenthDigit) {
  std::mt19937_64 rng(11);
  std::uniform_int_distribution<uint64_t> ten(1'000'000'000ull, 9'999'999'999ull);
  std::uniform_int_distribution<int> exponent(-320, 308);
  Checker c;
  for (int i = 0; i < 1'000'000 / kScale; ++i) {
    const uint64_t q = ten(rng);
    // Exact ties: q + 0.5 and 10 q + 5 are doubles.
    if (!c.Same(static_cast<double>(q) + 0.5) || !c.Same(static_cast<double>(q * 10 + 5)))
      return;
    // The double nearest to a rounding boundary q.5 x 10^e, and its neighbours.
    char text[48];
    std::snprintf(text, sizeof text, "%llu5e%d", static_cast<unsigned long long>(q),
                  exponent(rng) - 10);
    if (!c.Around(std::strtod(text, nullptr), 2)) return;
  }
  EXPECT_GT(c.checked, 5'000'000u / kScale);
}

TEST(FormatSig10Fast, WholeNumbersOfEveryLength) {
  std::mt19937_64 rng(5);
  Checker c;
  for (int digits = 1; digits <= 16; ++digits) {
    const uint64_t hi = static_cast<uint64_t>(std::pow(10.0, digits));
    std::uniform_int_distribution<uint64_t> pick(hi / 10, hi - 1);
    for (int i = 0; i < 200'000 / kScale; ++i) {
      const double x = static_cast<double>(pick(rng));
      if (!c.Same(x) || !c.Same(-x)) return;
    }
    if (!c.Around(static_cast<double>(hi), 3) || !c.Around(static_cast<double>(hi - 1), 3)) return;
  }
}

TEST(FormatSig10Fast, PowersOfTenSubnormalsAndTheEnds) {
  Checker c;
  for (int k = -330; k <= 310; ++k) {
    const double p = std::strtod(("1e" + std::to_string(k)).c_str(), nullptr);
    if (!c.Around(p, 8) || !c.Around(-p, 8)) return;
    const double nines = std::strtod(("9.9999999995e" + std::to_string(k)).c_str(), nullptr);
    if (!c.Around(nines, 8)) return;
  }
  std::mt19937_64 rng(3);
  for (int i = 0; i < 200'000 / kScale; ++i)
    if (!c.Same(FromBits(rng() & 0x800fffffffffffffull))) return;  // subnormals
  for (double x : {std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
                   std::numeric_limits<double>::denorm_min(), 0.0, -0.0, 1.0, 0.1, 0.5})
    if (!c.Around(x, 4)) return;
}

// A value from its text.
double Read(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// A random string of n digits, the first not '0'.
std::string RandomDigits(std::mt19937_64& rng, int n) {
  std::string d(static_cast<size_t>(n), '0');
  for (char& digit : d) digit = static_cast<char>('0' + rng() % 10);
  if (d[0] == '0') d[0] = '1';
  return d;
}

// The fast path rounds a value scaled to ten digits before the point and
// hands over to the exact conversion within a few millionths of a half: the
// values from well inside that window to well outside it, at every decimal
// exponent it covers and either side of those.
TEST(FormatSig10Fast, EitherSideOfTheWindowAroundEachHalf) {
  std::mt19937_64 rng(13);
  Checker c;
  for (int e = -15; e <= 33; ++e) {
    for (int i = 0; i < 1'000 / kScale; ++i) {
      // The double nearest q.5 x 10^(e-9) and 40 ulps either side of it: up
      // to about 2e-5 in the scaled value, three times the window.
      const double x = Read(RandomDigits(rng, 10) + "5e" + std::to_string(e - 10));
      if (!c.Around(x, 40) || !c.Same(-x)) return;
    }
  }
  EXPECT_GT(c.checked, 3'000'000u / kScale);
}

// Where the binade and the decimal exponent change: the powers of two (the
// fast path looks its factors up by binade) and their neighbours, from below
// its range to above it.
TEST(FormatSig10Fast, EdgesOfEveryBinade) {
  Checker c;
  for (int b = -60; b <= 120; ++b) {
    const double p = std::ldexp(1.0, b);
    for (double m : {1.0, 1.25, 1.5, 1.9999999999999998})
      if (!c.Around(p * m, 6) || !c.Around(-p * m, 2)) return;
  }
}

// Every count of significant digits, 1 to 10, with the point at every place
// of the fixed notation and either side of it (0.0123, 123.4, 1234567890.,
// 1.2e+010): the trailing zeros dropped, the point and the exponent placed.
TEST(FormatSig10Fast, EveryCountOfDigitsAtEveryPlaceOfThePoint) {
  std::mt19937_64 rng(17);
  Checker c;
  for (int e = -3; e <= 11; ++e) {
    for (int n = 1; n <= 10; ++n) {
      for (int i = 0; i < 400; ++i) {
        std::string d = RandomDigits(rng, n);
        if (i % 4 == 0) std::fill(d.begin() + 1, d.end(), '0');  // zeros inside
        if (n > 1) d.back() = static_cast<char>('1' + rng() % 9);
        const double x = Read(d.substr(0, 1) + "." + d.substr(1) + "e" + std::to_string(e));
        if (!c.Same(x) || !c.Same(-x)) return;
      }
    }
  }
}

// Each pair of the ten digits takes every value at every place.
TEST(FormatSig10Fast, EveryPairAtEveryPlace) {
  std::mt19937_64 rng(19);
  std::uniform_int_distribution<uint64_t> ten(1'000'000'000ull, 9'999'999'999ull);
  Checker c;
  uint64_t unit = 1;
  for (int place = 0; place < 5; ++place, unit *= 100) {
    for (uint64_t pair = place == 4 ? 10 : 0; pair < 100; ++pair) {
      for (int i = 0; i < 40; ++i) {
        uint64_t q = ten(rng);
        q = q - q / unit % 100 * unit + pair * unit;
        for (int e : {-1, 0, 4, 9, 12})
          if (!c.Same(static_cast<double>(q) * std::pow(10.0, e - 9))) return;
        if (!c.Same(static_cast<double>(q))) return;
      }
    }
  }
}

// Rounding that carries through trailing nines into the digits before them,
// up to an eleventh digit (9999999999.5 is 1.e+010), and the whole numbers
// around 1e10.
TEST(FormatSig10Fast, CarriesThroughNinesAndWholeNumbersNear1e10) {
  std::mt19937_64 rng(23);
  Checker c;
  for (int e = -14; e <= 32; ++e) {
    for (int nines = 1; nines <= 10; ++nines) {
      for (const char* last : {"4", "49999", "5", "50001", "6"}) {
        for (int i = 0; i < 20; ++i) {
          const std::string d =
              (nines < 10 ? RandomDigits(rng, 10 - nines) : "") + std::string(nines, '9') + last;
          if (!c.Around(Read(d.substr(0, 1) + "." + d.substr(1) + "e" + std::to_string(e)), 2)) return;
        }
      }
    }
  }
  for (double w = 9'999'999'900.0; w <= 10'000'000'100.0; w += 0.5)
    if (!c.Around(w, 2) || !c.Same(-w)) return;
}

// The integer form takes a short way for whole numbers below 1e10: the same
// text as the exact conversion without its last character, for every whole
// number a run writes (indices, counts) and around the way's edges; no text
// is ever longer than kSig10MaxLength.
TEST(FormatSig10Fast, IntegerFormOfWholeNumbersAndTheirNeighbours) {
  uint64_t checked = 0;
  auto same = [&checked](double x) {
    char fast[kSig10Size], exact[kSig10Size];
    const size_t a = FormatSig10Int(x, fast);
    size_t b = FormatSig10Exact(x, exact);
    exact[--b] = '\0';
    ++checked;
    if (a == b && std::strcmp(fast, exact) == 0 && a <= kSig10MaxLength) return true;
    char hex[64];
    std::snprintf(hex, sizeof hex, "%a", x);
    ADD_FAILURE() << hex << ": integer form \"" << fast << "\", exact \"" << exact << "\"";
    return false;
  };
  for (int i = 0; i <= 2'000'000 / kScale; ++i)
    if (!same(i) || !same(-i)) return;
  std::mt19937_64 rng(29);
  for (int i = 0; i < 2'000'000 / kScale; ++i) {
    const double w = static_cast<double>(rng() % 20'000'000'000ull);
    if (!same(w) || !same(-w) || !same(std::nextafter(w, 0.0)) || !same(w + 0.5)) return;
  }
  for (double x : {0.0, -0.0, 0.5, -0.5, 0.1, 9'999'999'999.0, 9'999'999'999.5, 1e10, -1e10,
                   4294967295.0, 4294967296.0, 1e15, 1e300, std::numeric_limits<double>::infinity(),
                   std::numeric_limits<double>::quiet_NaN(),
                   std::numeric_limits<double>::denorm_min()})
    if (!same(x) || !same(-x)) return;
  EXPECT_GT(checked, 4'000'000u / kScale);
}

}  // namespace
}  // namespace tz
