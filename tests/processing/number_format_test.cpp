// Reading numbers from input text and the number-to-text rule of the files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "processing/format_sig10.h"
#include "processing/number_text.h"

namespace tz {
namespace {

double Read(const std::string& s) { return ReadDecimalReal(s.data(), s.size()); }

TEST(ReadDecimalReal, DecimalFormsOnly) {
  const std::pair<const char*, double> cases[] = {
      {"0.25", 0.25}, {"  \t\r\n\v\f-12.5xyz", -12.5}, {"+7", 7}, {".5", 0.5}, {"5.", 5},
      {"3.e2", 300}, {"13.325e3", 13325}, {"1E-3", 0.001}, {"2e+2uS", 200},
      // Text without a number, and forms that are not decimal, read as 0.
      {"", 0}, {".", 0}, {"-", 0}, {"abc", 0}, {"inf", 0}, {"nan", 0}, {"0x1A", 0}, {"e5", 0},
      // An exponent counts only with its digits.
      {"1e", 1}, {"1e+", 1}, {"1e-x", 1}};
  for (auto [text, value] : cases) EXPECT_EQ(Read(text), value) << text;
}

TEST(ReadDecimalReal, IsCorrectlyRounded) {
  // Digit-by-digit accumulation gets these wrong in the last place.
  for (const char* s : {"13.325e3", "0.1", "2.2250738585072014e-308", "123456789012345678901234567890",
                        "0.30000000000000004", "9007199254740993", "1.7976931348623157e308"}) {
    EXPECT_EQ(Read(s), std::strtod(s, nullptr)) << s;
  }
}

TEST(ReadDecimalReal, OverflowAndUnderflow) {
  EXPECT_EQ(Read("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(Read("-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(Read("123456e99999999999999999999"), std::numeric_limits<double>::infinity());
  const double tiny = Read("1e-400");
  EXPECT_EQ(tiny, 0.0);
  EXPECT_FALSE(std::signbit(tiny));
  EXPECT_TRUE(std::signbit(Read("-1e-400")));
  EXPECT_EQ(Read("0.000001e-99999"), 0.0);
  EXPECT_EQ(Read("0e99999"), 0.0);
}

TEST(ReadWrappedUInt32, WrapsAndStops) {
  auto rd = [](const std::string& s) { return ReadWrappedUInt32(s.data(), s.size()); };
  EXPECT_EQ(rd("123"), 123u);
  EXPECT_EQ(rd("  77  "), 77u);
  EXPECT_EQ(rd("-5"), 4294967291u);
  EXPECT_EQ(rd("4294967296"), 0u);
  EXPECT_EQ(rd("4294967297"), 1u);
  EXPECT_EQ(rd("x12"), 0u);
  EXPECT_EQ(rd("+12.9"), 12u);
  EXPECT_EQ(rd("99999999999999999999"), 1661992959u);
}

TEST(LowBitsOfTruncated, TakesTheLow32BitsOfTheWholeNumber) {
  EXPECT_EQ(LowBitsOfTruncated(3000000000.7), 3000000000u);
  EXPECT_EQ(LowBitsOfTruncated(-1.5), 4294967295u);
  EXPECT_EQ(LowBitsOfTruncated(4294967296.0 + 5), 5u);
  EXPECT_EQ(LowBitsOfTruncated(1e20), 1661992960u);
  EXPECT_EQ(LowBitsOfTruncated(std::numeric_limits<double>::infinity()), 0u);
  EXPECT_EQ(LowBitsOfTruncated(-std::numeric_limits<double>::infinity()), 0u);
  EXPECT_EQ(LowBitsOfTruncated(std::nan("")), 0u);
}

TEST(TruncateClamp, ClampsIntoRange) {
  EXPECT_EQ(TruncateClamp(12.9, 5, 200), 12);
  EXPECT_EQ(TruncateClamp(300, 5, 200), 200);
  EXPECT_EQ(TruncateClamp(-3, 5, 200), 5);
  EXPECT_EQ(TruncateClamp(std::numeric_limits<double>::infinity(), 4, 30), 30);
  EXPECT_EQ(TruncateClamp(-std::numeric_limits<double>::infinity(), 4, 30), 4);
  EXPECT_EQ(TruncateClamp(std::nan(""), 4, 30), 4);
}

TEST(FormatSig10, TenSignificantDigits) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::pair<double, const char*> cases[] = {
      {1500, "1500."}, {0.25, "0.25"}, {1.0 / 3, "0.3333333333"}, {0.001, "1.e-003"},
      {0.0123, "1.23e-002"}, {123456789012.0, "1.23456789e+011"}, {-2.5, "-2.5"}, {0.0, "0."},
      {-1500, "-1500."}, {0.0005, "5.e-004"}, {0.1, "0.1"}, {12.20703125, "12.20703125"},
      {0.0000125, "1.25e-005"},
      // Boundaries of the fixed notation, also after rounding.
      {9999999999.0, "9999999999."}, {10000000000.0, "1.e+010"}, {99999999995.0, "1.e+011"},
      {0.09999999999, "9.999999999e-002"}, {0.099999999999, "0.1"}, {1e-300, "1.e-300"},
      {-1.7976931348623157e308, "-1.797693135e+308"}, {4294967295.0, "4294967295."},
      // Values without digits.
      {-0.0, "0."}, {inf, "inf"}, {-inf, "-inf"}, {std::nan(""), "nan"}};
  for (auto [value, text] : cases) EXPECT_EQ(Sig10(value), text) << text;
}

TEST(FormatSig10, SixDigitsForThePercentage) {
  EXPECT_EQ(Sig10(100.0 / 3, 6), "33.3333");
  EXPECT_EQ(Sig10(0.0175, 6), "1.75e-002");
  EXPECT_EQ(Sig10(100, 6), "100.");
  EXPECT_EQ(Sig10(123456.7, 6), "123457.");
  EXPECT_EQ(Sig10(1234567, 6), "1.23457e+006");
}

TEST(FormatSig10, IntegerAndHeaderForms) {
  EXPECT_EQ(Sig10Int(1500), "1500");
  EXPECT_EQ(Sig10Int(0), "0");
  EXPECT_EQ(Sig10Int(4294967291.0), "4294967291");
  EXPECT_EQ(Sig10Header(1500), "1500.0");
  EXPECT_EQ(Sig10Header(10), "10.0");
  EXPECT_EQ(Sig10Header(0.1), "0.1");
  EXPECT_EQ(Sig10Header(0), "0.0");
  EXPECT_EQ(Sig10Header(0.05), "5.e-002");
}

// The text always reads back as the value rounded to 10 significant digits.
TEST(FormatSig10, AgreesWithCorrectRoundingOnRandomValues) {
  std::mt19937_64 gen(42);
  std::uniform_real_distribution<double> mant(-10.0, 10.0);
  std::uniform_int_distribution<int> exp10(-320, 300);
  for (int i = 0; i < 20000; ++i) {
    const double x = mant(gen) * std::pow(10.0, exp10(gen));
    if (!std::isfinite(x) || x == 0) continue;
    char ref[64];
    std::snprintf(ref, sizeof ref, "%.9e", x);
    const std::string ours = Sig10(x);
    ASSERT_EQ(std::strtod(ours.c_str(), nullptr), std::strtod(ref, nullptr)) << ours << " vs " << ref;
    ASSERT_NE(ours.find('.'), std::string::npos) << ours;
    const size_t e = ours.find('e');
    if (e != std::string::npos) {
      ASSERT_EQ(ours.size() - e, 5u) << ours;  // e, sign, three digits
      ASSERT_NE(ours[e - 1], '0') << ours;
    } else {
      ASSERT_NE(ours.back(), '0') << ours;
    }
  }
}

}  // namespace
}  // namespace tz
