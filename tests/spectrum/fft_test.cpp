// FFT core: the transform, its frequency axis and its helpers.
#include "spectrum/fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "processing/analysis_record.h"
#include "tests/test_support.h"

namespace tz {
namespace {

struct Output {
  std::vector<double> re, im;
};

Output Transform(AnalysisRecord& r, const std::vector<double>& re, const double* im,
                 int inverse = 0) {
  Output out{std::vector<double>(re.size(), -99.0), std::vector<double>(re.size(), -99.0)};
  Progress progress;  // reports to no one
  fft_float(r, progress, static_cast<uint32_t>(re.size()), inverse, re.data(), im, out.re.data(),
            out.im.data());
  return out;
}

TEST(FftCore, ForwardUsesThePositiveExponent) {
  test::Fixture f;
  const Output t = Transform(f.r(), {1, 2, 3, 4}, nullptr);  // (10, -2 - 2i, -2, -2 + 2i)
  const double wantRe[4] = {10, -2, -2, -2}, wantIm[4] = {0, -2, 0, 2};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(t.re[k], wantRe[k], 1e-12) << "k=" << k;
    EXPECT_NEAR(t.im[k], wantIm[k], 1e-12) << "k=" << k;
  }
  // One stage: sum and difference; a null imaginary input reads as exact zeros.
  const Output two = Transform(f.r(), {3.5, 1.25}, nullptr);
  EXPECT_EQ(two.re, (std::vector<double>{4.75, 2.25}));
  EXPECT_EQ(two.im, (std::vector<double>{0.0, 0.0}));
}

TEST(FftCore, UnitImpulseAtOneGivesTheRotatingPhasor) {
  test::Fixture f;
  for (int n : {4, 16, 256}) {
    std::vector<double> x(n, 0.0);
    x[1] = 1.0;
    const Output t = Transform(f.r(), x, nullptr);
    for (int k = 0; k < n; ++k) {
      EXPECT_NEAR(t.re[k], std::cos(6.283185307179586 * k / n), 1e-12) << n << " k=" << k;
      EXPECT_NEAR(t.im[k], std::sin(6.283185307179586 * k / n), 1e-12) << n << " k=" << k;
    }
  }
}

// Both directions also fill the frequency axis, and only its first N entries.
TEST(FftCore, ForwardThenInverseReturnsTheInput) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  r.stats.Fc = 237.3;
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> dist(-500.0, 500.0);
  std::vector<double> re(1024), im(1024);
  for (int i = 0; i < 1024; ++i) re[i] = dist(gen), im[i] = dist(gen);
  std::fill(r.spectrum.FFTfreq, r.spectrum.FFTfreq + 1030, -1.0);
  const Output fwd = Transform(r, re, im.data());
  for (int k = 0; k < 1024; ++k) ASSERT_EQ(r.spectrum.FFTfreq[k], k * (237.3 / 1024)) << "k=" << k;
  EXPECT_EQ(r.spectrum.FFTfreq[1024], -1.0);
  std::fill(r.spectrum.FFTfreq, r.spectrum.FFTfreq + 1030, -1.0);
  const Output back = Transform(r, fwd.re, fwd.im.data(), 1);
  for (int k = 0; k < 1024; ++k) ASSERT_EQ(r.spectrum.FFTfreq[k], k * (237.3 / 1024)) << "k=" << k;
  EXPECT_EQ(r.spectrum.FFTfreq[1024], -1.0);
  double err = 0, scale = 0;
  for (int i = 0; i < 1024; ++i) {
    err = std::max({err, std::fabs(back.re[i] - re[i]), std::fabs(back.im[i] - im[i])});
    scale = std::max({scale, std::fabs(re[i]), std::fabs(im[i])});
  }
  EXPECT_LE(err, 1e-9 * scale);
}

TEST(FftCoreDeathTest, RefusesSizesThatAreNotPowersOfTwoAndMissingArrays) {
  test::Fixture f;
  double a[8] = {0}, b[8];
  for (uint32_t n : {0u, 1u, 6u}) {
    EXPECT_EXIT(fft_float(f.r(), f.run.progress, n, 0, a, nullptr, b, b), ::testing::ExitedWithCode(1),
                "^Error in fft\\(\\): NumSamples=" + std::to_string(n) + " is not power of two\n$");
  }
  // The size is checked before the arrays, and the arrays in this order.
  EXPECT_EXIT(fft_float(f.r(), f.run.progress, 3, 0, nullptr, nullptr, nullptr, nullptr),
              ::testing::ExitedWithCode(1), "NumSamples=3 is not power of two");
  EXPECT_EXIT(fft_float(f.r(), f.run.progress, 4, 0, nullptr, a, nullptr, nullptr), ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  RealIn == NULL\n$");
  EXPECT_EXIT(fft_float(f.r(), f.run.progress, 4, 0, a, nullptr, nullptr, nullptr), ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  RealOut == NULL\n$");
  EXPECT_EXIT(fft_float(f.r(), f.run.progress, 4, 0, a, nullptr, b, nullptr), ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  ImagOut == NULL\n$");
  EXPECT_EXIT(NumberOfBitsNeeded(1), ::testing::ExitedWithCode(1),
              "^>>> Error in fftmisc: argument 1 to NumberOfBitsNeeded is too small.\n$");
}

TEST(FftHelpers, PowerOfTwoBitCountAndReversal) {
  const int powers[][2] = {{0, 0}, {1, 0},       {2, 1},  {3, 0},
                           {4, 1}, {1 << 30, 1}, {-4, 0}, {-2147483647 - 1, 0}};
  for (const auto& p : powers) EXPECT_EQ(PowerOfTwoTest(p[0]), p[1]) << p[0];
  const int bits[][2] = {{2, 1}, {1024, 10}, {524288, 19}, {6, 1}, {12, 2}};  // lowest set bit
  for (const auto& b : bits) EXPECT_EQ(NumberOfBitsNeeded(b[0]), b[1]) << b[0];
  const int rev[][3] = {{1, 3, 4},         {3, 3, 6}, {6, 3, 3},  {1, 10, 512}, {0b1011, 4, 0b1101},
                        {0b1011, 2, 0b11}, {5, 0, 0}, {5, -2, 0}, {-1, 3, 7}};
  for (const auto& v : rev) EXPECT_EQ(BitReversedIndex(v[0], v[1]), v[2]) << v[0] << " " << v[1];
}

}  // namespace
}  // namespace tz
