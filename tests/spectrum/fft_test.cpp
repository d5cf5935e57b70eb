// FFT core: the transform against a plain DFT, its conventions and helpers,
// and the preconditions that end the program.
#include "spectrum/fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <span>
#include <tuple>
#include <vector>

namespace tz {
namespace {

struct Output {
  std::vector<double> re, im;
};

Output Transform(const std::vector<double>& re, const std::vector<double>& im,
                 FftDirection direction = FftDirection::Forward, FftObserver* observer = nullptr) {
  Output out{std::vector<double>(re.size(), -99.0), std::vector<double>(re.size(), -99.0)};
  fft_float(static_cast<uint32_t>(re.size()), direction, re, im, out.re, out.im, observer);
  return out;
}

// The plain DFT in extended precision, X[k] = sum x[n] e^(s 2 pi i k n / N)
// with s = +1 forward and -1 inverse (then divided by N); each term's angle
// is reduced to k n mod N turns of 1/N, taken from a table of the N angles.
Output Dft(const std::vector<double>& re, const std::vector<double>& im, FftDirection direction) {
  const size_t n = re.size();
  const long double sign = direction == FftDirection::Forward ? 1.0L : -1.0L;
  std::vector<long double> cosine(n), sine(n);
  for (size_t m = 0; m < n; ++m) {
    const long double a = sign * 2.0L * std::numbers::pi_v<long double> * m / n;
    cosine[m] = std::cos(a);
    sine[m] = std::sin(a);
  }
  Output out{std::vector<double>(n), std::vector<double>(n)};
  for (size_t k = 0; k < n; ++k) {
    long double sr = 0, si = 0;
    for (size_t j = 0; j < n; ++j) {
      const long double c = cosine[k * j % n], s = sine[k * j % n];
      const long double xr = re[j], xi = im.empty() ? 0.0L : im[j];
      sr += xr * c - xi * s;
      si += xr * s + xi * c;
    }
    if (direction == FftDirection::Inverse) sr /= n, si /= n;
    out.re[k] = static_cast<double>(sr);
    out.im[k] = static_cast<double>(si);
  }
  return out;
}

// ||a - b|| / ||b|| over the complex vectors.
double RelativeError(const Output& a, const Output& b) {
  double err = 0, norm = 0;
  for (size_t k = 0; k < b.re.size(); ++k) {
    err += (a.re[k] - b.re[k]) * (a.re[k] - b.re[k]) + (a.im[k] - b.im[k]) * (a.im[k] - b.im[k]);
    norm += b.re[k] * b.re[k] + b.im[k] * b.im[k];
  }
  return std::sqrt(err / norm);
}

// Random complex (and real) inputs of every size 2 .. 2^12, both directions.
// The twiddle factors come from a three-term recurrence, whose rounding error
// grows with the square of the block length: the relative error stays below
// eps (8 log2 N + N^2 / 64), 2.2e-16 x 96 at N = 4096 without the recurrence
// and 5.8e-11 with it (it measures 1.9e-11 there). A wrong twiddle, sign or
// reversal gives an error of the order of 1.
TEST(FftCore, AgreesWithThePlainDftOnRandomInputs) {
  std::mt19937 gen(16);
  std::uniform_real_distribution<double> dist(-1000.0, 1000.0);
  for (int bits = 1; bits <= 12; ++bits) {
    const size_t n = size_t{1} << bits;
    const double bound =
        std::numeric_limits<double>::epsilon() * (8.0 * bits + static_cast<double>(n * n) / 64);
    for (bool real : {false, true}) {
      std::vector<double> re(n), im(real ? 0 : n);
      for (double& x : re) x = dist(gen);
      for (double& x : im) x = dist(gen);
      for (FftDirection d : {FftDirection::Forward, FftDirection::Inverse}) {
        SCOPED_TRACE(testing::Message() << "N=" << n << (real ? " real" : " complex")
                                        << (d == FftDirection::Inverse ? " inverse" : " forward"));
        EXPECT_LE(RelativeError(Transform(re, im, d), Dft(re, im, d)), bound);
      }
    }
  }
}

TEST(FftCore, ForwardUsesThePositiveExponent) {
  const Output t = Transform({1, 2, 3, 4}, {});  // (10, -2 - 2i, -2, -2 + 2i)
  const double wantRe[4] = {10, -2, -2, -2}, wantIm[4] = {0, -2, 0, 2};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(t.re[k], wantRe[k], 1e-12) << "k=" << k;
    EXPECT_NEAR(t.im[k], wantIm[k], 1e-12) << "k=" << k;
  }
  // One stage: sum and difference; a missing imaginary input reads as exact zeros.
  const Output two = Transform({3.5, 1.25}, {});
  EXPECT_EQ(two.re, (std::vector<double>{4.75, 2.25}));
  EXPECT_EQ(two.im, (std::vector<double>{0.0, 0.0}));
  // Only the first NumSamples points are read and written.
  std::vector<double> in = {3.5, 1.25, 99.0}, outRe(3, -1.0), outIm(3, -1.0);
  fft_float(2, FftDirection::Forward, in, {}, outRe, outIm);
  EXPECT_EQ(outRe, (std::vector<double>{4.75, 2.25, -1.0}));
  EXPECT_EQ(outIm, (std::vector<double>{0.0, 0.0, -1.0}));
}

TEST(FftCore, UnitImpulseAtOneGivesTheRotatingPhasor) {
  for (int n : {4, 16, 256}) {
    std::vector<double> x(n, 0.0);
    x[1] = 1.0;
    const Output t = Transform(x, {});
    for (int k = 0; k < n; ++k) {
      EXPECT_NEAR(t.re[k], std::cos(6.283185307179586 * k / n), 1e-12) << n << " k=" << k;
      EXPECT_NEAR(t.im[k], std::sin(6.283185307179586 * k / n), 1e-12) << n << " k=" << k;
    }
  }
}

TEST(FftCore, ForwardThenInverseReturnsTheInput) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> dist(-500.0, 500.0);
  std::vector<double> re(1024), im(1024);
  for (int i = 0; i < 1024; ++i) re[i] = dist(gen), im[i] = dist(gen);
  const Output fwd = Transform(re, im);
  const Output back = Transform(fwd.re, fwd.im, FftDirection::Inverse);
  double err = 0, scale = 0;
  for (int i = 0; i < 1024; ++i) {
    err = std::max({err, std::fabs(back.re[i] - re[i]), std::fabs(back.im[i] - im[i])});
    scale = std::max({scale, std::fabs(re[i]), std::fabs(im[i])});
  }
  EXPECT_LE(err, 1e-9 * scale);
}

// An observer hears of every copy, every stage and every block, in order.
TEST(FftCore, ObserverIsToldOfEachStep) {
  struct Recorder : FftObserver {
    std::vector<std::tuple<FftStep, int, int>> steps;
    void Step(FftStep step, int done, int total) override { steps.emplace_back(step, done, total); }
  } recorder;
  Transform({1, 2, 3, 4}, {}, FftDirection::Forward, &recorder);
  using S = FftStep;
  const std::vector<std::tuple<FftStep, int, int>> want = {
      {S::BitReversal, 0, 4}, {S::BitReversal, 1, 4}, {S::BitReversal, 2, 4},
      {S::BitReversal, 3, 4}, {S::Stage, 2, 4},       {S::Block, 0, 4},
      {S::Block, 2, 4},       {S::Stage, 4, 4},       {S::Block, 0, 4}};
  EXPECT_EQ(recorder.steps, want);
}

TEST(FftCoreDeathTest, RefusesSizesThatAreNotPowersOfTwoAndMissingArrays) {
  double a[8] = {0}, b[8], c[8];
  for (uint32_t n : {0u, 1u, 6u}) {
    EXPECT_EXIT(fft_float(n, FftDirection::Forward, a, {}, b, c), ::testing::ExitedWithCode(1),
                "^Error in fft\\(\\): NumSamples=" + std::to_string(n) + " is not power of two\n$");
  }
  // The size is checked before the arrays, and the arrays in this order.
  EXPECT_EXIT(fft_float(3, FftDirection::Forward, {}, {}, {}, {}), ::testing::ExitedWithCode(1),
              "NumSamples=3 is not power of two");
  EXPECT_EXIT(fft_float(4, FftDirection::Forward, {}, a, {}, {}), ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  RealIn == NULL\n$");
  EXPECT_EXIT(fft_float(4, FftDirection::Forward, a, {}, {}, {}), ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  RealOut == NULL\n$");
  EXPECT_EXIT(fft_float(4, FftDirection::Forward, a, {}, b, {}), ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  ImagOut == NULL\n$");
  // An array shorter than the transform is never read or written past its end.
  EXPECT_EXIT(fft_float(8, FftDirection::Forward, std::span(a, 4), {}, b, c),
              ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  RealIn holds 4 values, NumSamples=8\n$");
  EXPECT_EXIT(fft_float(8, FftDirection::Forward, a, std::span(a, 7), b, c),
              ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  ImagIn holds 7 values, NumSamples=8\n$");
  EXPECT_EXIT(fft_float(8, FftDirection::Forward, a, {}, b, std::span(c, 2)),
              ::testing::ExitedWithCode(1),
              "^Error in fft_float\\(\\):  ImagOut holds 2 values, NumSamples=8\n$");
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
