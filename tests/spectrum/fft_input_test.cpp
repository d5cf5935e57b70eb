// FFT input: loading over the statistics range, the number of points and the
// windowed-sinc weighting.
#include "spectrum/fft_input.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "processing/analysis_record.h"
#include "tests/test_support.h"

namespace tz {
namespace {

TEST(FftInput, LoadsTheStatisticsRangeOfTheChosenSource) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  r.settings.MovAvgLen = 10;
  r.counters.ProgrCount = 30;  // Progr 20 .. 29
  double* arrays[5] = {r.samples.CslotRaw, r.samples.RPMfiltArr, r.samples.RPMinstArr,
                       r.samples.TRQfiltArr, r.samples.POTfiltArr};
  for (int s = 0; s < 5; ++s)
    for (int i = 0; i < 40; ++i) arrays[s][i] = 1000.0 * (s + 1) + i;
  for (int s = 0; s < 5; ++s) {
    r.settings.FFTsource = static_cast<FftSource>(s);
    for (int i = 0; i < 12; ++i) r.spectrum.FFTinRe[i] = r.spectrum.FFTinIm[i] = -7.0;
    ASSERT_EQ(LoadFftInput(r, f.run.progress), 10);
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(r.spectrum.FFTinRe[i], 1000.0 * (s + 1) + 20 + i) << "source " << s << " i=" << i;
      EXPECT_EQ(r.spectrum.FFTinIm[i], 0.0);
    }
    EXPECT_EQ(r.spectrum.FFTinRe[10], -7.0) << "nothing beyond the count is loaded";
  }
}

TEST(FftInput, NumberOfPointsIsTheLargestPowerOfTwoBelowTheCount) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  r.counters.ProgrCount = 2068;  // MovAvgLen 10: count 2048
  ChooseFftSize(r.spectrum, LoadFftInput(r, f.run.progress));
  EXPECT_EQ(r.spectrum.FFT_N, 1024);
  r.counters.ProgrCount = 2069;
  ChooseFftSize(r.spectrum, LoadFftInput(r, f.run.progress));
  EXPECT_EQ(r.spectrum.FFT_N, 2048);
  // Below 2: no power of two fits and the earlier N stays.
  const int cases[][2] = {{1024, 512},       {1025, 1024},     {3, 2},  {2, 1},
                          {524288, 262144},  {524289, 524288}, {1, 77},
                          {2000000000, 524288}};
  for (const auto& c : cases) {
    r.spectrum.FFT_N = 77;
    ChooseFftSize(r.spectrum, c[0]);
    EXPECT_EQ(r.spectrum.FFT_N, c[1]) << "count " << c[0];
  }
}

// Kernel weights before the unit-sum normalisation, evaluated left to right:
// the weighted values are pinned to the last bit, so the order of the
// operations is part of what is checked.
std::vector<double> RawKernel(int n, bool blackman) {
  const int M = n - 2;
  const double fc = 3.0 / n, twoPi = 6.283185307179586;
  std::vector<double> w(M + 1, twoPi * fc);
  for (int i = 0; i <= M; ++i) {
    const double d = i - M / 2;
    const double win = blackman ? (0.42 - 0.5 * std::cos((twoPi * i) / M)) +
                                      0.08 * std::cos((12.566370614359172 * i) / M)
                                : 0.54 - 0.46 * std::cos((twoPi * i) / M);
    if (d != 0) w[i] = (win * std::sin((twoPi * fc) * d)) / d;
  }
  return w;
}

// Flat top and unknown window numbers leave the input as loaded.
TEST(FftInput, HammingAndBlackmanWeightTheInputFlatTopLeavesIt) {
  for (int n : {4, 8, 64, 1024}) {
    for (int window : {1, 2, 0, 3, -1}) {
      SCOPED_TRACE(testing::Message() << "n=" << n << " window " << window);
      test::Fixture f;
      AnalysisRecord& r = f.r();
      r.spectrum.FFT_N = n;
      r.settings.FFTwindow = static_cast<FftWindow>(window);
      std::vector<double> x(n);
      for (int i = 0; i < n; ++i) r.spectrum.FFTinRe[i] = x[i] = 3.0 + std::cos(0.37 * i) * 17.0;
      WeightFftInput(r.spectrum, r.settings.FFTwindow, f.run.progress);
      if (window != 1 && window != 2) {
        EXPECT_EQ(std::vector<double>(r.spectrum.FFTinRe, r.spectrum.FFTinRe + n), x);
        continue;
      }
      const std::vector<double> raw = RawKernel(n, window == 2);
      double sum = 0.0, kernelSum = 0.0;
      for (double w : raw) sum = sum + w;
      const double gain = window == 2 ? 912.558 : 893.483;
      for (int i = 0; i <= n - 2; ++i) {
        const double k = raw[i] / sum;
        ASSERT_EQ(r.spectrum.SincKernel[i], k) << i;
        ASSERT_EQ(r.spectrum.FFTinRe[i], (x[i] * k) * gain) << i;
        ASSERT_EQ(r.spectrum.FFTinIm[i], 0.0);
        ASSERT_TRUE(i == n / 2 - 1 || k < r.spectrum.SincKernel[n / 2 - 1])
            << "the centre weighs most";
        kernelSum += k;
      }
      EXPECT_NEAR(kernelSum, 1.0, 1e-12);
      EXPECT_EQ(r.spectrum.FFTinRe[n - 1], x[n - 1]) << "the last value is never weighted";
      EXPECT_EQ(r.spectrum.FFTinIm[n - 1], 0.0);
    }
  }
}

TEST(FftInput, SmallestKernels) {
  // Four points: before normalisation -0.08, 2 pi x 0.75 and -0.08.
  test::Fixture f;
  AnalysisRecord& r = f.r();
  r.spectrum.FFT_N = 4;
  for (int i = 0; i < 4; ++i) r.spectrum.FFTinRe[i] = 1.0;
  HammingSincFilter(r.spectrum);
  const double s = -0.08 + 4.71238898038469 - 0.08;
  EXPECT_NEAR(r.spectrum.SincKernel[0], -0.08 / s, 1e-15);
  EXPECT_NEAR(r.spectrum.SincKernel[1], 4.71238898038469 / s, 1e-14);
  EXPECT_NEAR(r.spectrum.SincKernel[2], -0.08 / s, 1e-15);
  EXPECT_NEAR(r.spectrum.FFTinRe[1], 4.71238898038469 / s * 893.483, 1e-10);
  EXPECT_EQ(r.spectrum.FFTinRe[3], 1.0);
  // Two points: the single weight becomes 1, so the first value is scaled by the gain.
  r.spectrum.FFT_N = 2;
  for (int window : {1, 2}) {
    r.settings.FFTwindow = static_cast<FftWindow>(window);
    r.spectrum.FFTinRe[0] = 2.5, r.spectrum.FFTinRe[1] = -4.0, r.spectrum.FFTinRe[2] = 11.0;
    WeightFftInput(r.spectrum, r.settings.FFTwindow, f.run.progress);
    EXPECT_EQ(r.spectrum.SincKernel[0], 1.0);
    EXPECT_EQ(r.spectrum.FFTinRe[0], 2.5 * (window == 1 ? 893.483 : 912.558));
    EXPECT_EQ(r.spectrum.FFTinRe[1], -4.0);
    EXPECT_EQ(r.spectrum.FFTinRe[2], 11.0);
  }
}

}  // namespace
}  // namespace tz
