// The fast path of FormatSig10 against the exact conversion: the same text
// for every double, over tens of millions of values chosen where a fast
// conversion goes wrong (ties at the tenth digit, values an ulp around each
// rounding boundary, powers of ten, subnormals) and at random.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tz
