// Spectrum analysis: fundamental, floor level, harmonic peaks, energy and
// symmetry of the transform.
#include "spectrum/spectrum_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "processing/analysis_record.h"
#include "spectrum/fft.h"
#include "tests/test_support.h"

namespace tz {
namespace {

using Picks = std::vector<std::pair<int, double>>;

// Lines 0 .. N/2 - 1 of the spectrum of a real signal; the upper half mirrors them.
void SetSpectrum(AnalysisRecord& r, int n, const std::vector<double>& mags, double nyquist = 0) {
  r.spectrum.FFT_N = n;
  r.stats.Fc = 100.0;
  for (int k = 0; k < n; ++k) r.spectrum.FFTim[k] = 0.0;
  for (int k = 0; k < n / 2; ++k) r.spectrum.FFTre[k] = r.spectrum.FFTre[(n - k) % n] = mags[k];
  r.spectrum.FFTre[n / 2] = nyquist;
}

void Analyse(AnalysisRecord& r) {
  Progress progress;  // reports to no one
  FindFundamental(r.spectrum);
  AnalyseSpectrum(r.spectrum, r.stats.Fc, progress);
}

void ExpectFundamental(const AnalysisRecord& r, int dcEnd, int line, double mag) {
  EXPECT_EQ(r.spectrum.DCEndLine, dcEnd);
  EXPECT_EQ(r.spectrum.FundLine, line);
  EXPECT_EQ(r.spectrum.FundMag, mag);
}

// Records that keep a magnitude after the analysis.
Picks Kept(const AnalysisRecord& r) {
  Picks out;
  for (int i = 0; i < r.spectrum.FFT_N / 2; ++i)
    if (r.spectrum.SpecLines[i].mag != 0) out.emplace_back(i, r.spectrum.SpecLines[i].mag);
  return out;
}

const std::vector<double> kExample = {50, 20, 5, 3, 10, 40, 12, 4, 2, 3, 25, 6, 2, 1, 8, 2};

void CheckExampleResult(const AnalysisRecord& r) {
  ExpectFundamental(r, 4, 5, 40.0);
  EXPECT_EQ(r.spectrum.FloorLevel, 1.0 + (40.0 - 1.0) * 0.012);
  EXPECT_EQ(Kept(r), (Picks{{5, 40.0}, {10, 25.0}, {14, 8.0}}));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(r.spectrum.SpecLines[i].freq, 0.0) << "line " << i;
  for (int p : {5, 10, 14}) EXPECT_EQ(r.spectrum.SpecLines[p].line, p);
  EXPECT_EQ(r.spectrum.SpecLines[13].line, 0)
      << "a record removed by the floor comes back as {0, 0, 0}";
}

TEST(SpectrumAnalysis, WorkedExampleOfThirtyTwoPoints) {
  test::Fixture f;
  SetSpectrum(f.r(), 32, kExample);
  Analyse(f.r());
  CheckExampleResult(f.r());
}

TEST(SpectrumAnalysis, EarlierLargerAnalysisDoesNotChangeTheResult) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  std::vector<double> big(32, 1.0);  // leaves peaks at lines 5, 18 and 25
  big[0] = 50, big[1] = 20, big[2] = 5, big[3] = 3, big[4] = 4, big[5] = 40;
  big[16] = 20, big[17] = 30, big[18] = 35, big[25] = 40;
  SetSpectrum(r, 64, big, 33.0);
  Analyse(r);
  ASSERT_NE(r.spectrum.SpecLines[18].mag, 0.0);
  SetSpectrum(r, 32, kExample);
  Analyse(r);
  CheckExampleResult(r);
  for (int i = 16; i < 20; ++i)
    EXPECT_EQ(r.spectrum.SpecLines[i].mag, 0.0) << "line " << i << " beyond H";
}

TEST(SpectrumAnalysis, FloorRiseDependsOnTheNumberOfLines) {
  const std::pair<int, double> cases[] = {
      {64, 0.012}, {32, 0.012}, {16, 0.011000000000000001}, {8, 0.01}, {4, 0.006999999999999999},
      {2, 0.005}};
  for (const auto& [n, fraction] : cases) {
    test::Fixture f;
    AnalysisRecord& r = f.r();
    std::vector<double> mags(n / 2);
    for (int k = 0; k < n / 2; ++k) mags[k] = k + 1.5;  // smallest 1.5 at line 0
    SetSpectrum(r, n, mags);
    r.spectrum.FundMag = 100.0;
    r.spectrum.DCEndLine = 1;
    AnalyseSpectrum(r.spectrum, r.stats.Fc, f.run.progress);
    EXPECT_EQ(r.spectrum.FloorLevel, 1.5 + (100.0 - 1.5) * fraction) << "N=" << n;
    if (n != 16) continue;
    // A NaN record is never below the floor, so it counts like the others.
    r.spectrum.FFTre[7] = r.spectrum.FFTre[9] = std::numeric_limits<double>::quiet_NaN();
    AnalyseSpectrum(r.spectrum, r.stats.Fc, f.run.progress);
    EXPECT_EQ(r.spectrum.FloorLevel, 1.5 + (100.0 - 1.5) * fraction) << "N=16 with a NaN line";
  }
}

TEST(SpectrumAnalysis, SpectrumRisingFromLineZero) {
  test::Fixture f;
  std::vector<double> mags(16, 1.0);
  mags[0] = 2, mags[1] = 6, mags[4] = 30;
  SetSpectrum(f.r(), 32, mags);
  Analyse(f.r());
  ExpectFundamental(f.r(), 1, 4, 30.0);
  EXPECT_EQ(Kept(f.r()), (Picks{{4, 30.0}}));
}

TEST(SpectrumAnalysis, EqualMagnitudesFavourTheLowestLine) {
  test::Fixture f;
  std::vector<double> mags(32, 1.0);
  mags[0] = 50, mags[1] = 20, mags[2] = 5, mags[3] = 3, mags[4] = 4;
  mags[5] = mags[25] = 40;   // equal maxima
  mags[16] = mags[18] = 20;  // whichever is picked first clears the other
  SetSpectrum(f.r(), 64, mags);
  Analyse(f.r());
  ExpectFundamental(f.r(), 4, 5, 40.0);
  EXPECT_EQ(Kept(f.r()), (Picks{{5, 40.0}, {16, 20.0}, {25, 40.0}}));
}

TEST(SpectrumAnalysis, FlatSpectrumHasNoFundamental) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  // All equal, with a rise waiting just past the last line of the transform.
  SetSpectrum(r, 32, std::vector<double>(16, 3.0), 3.0);
  for (int k = 32; k < 40; ++k) r.spectrum.FFTre[k] = 100.0;
  Analyse(r);
  ExpectFundamental(r, 31, 0, 0.0);
  EXPECT_TRUE(Kept(r).empty());
  SetSpectrum(r, 2, {5.0}, 1.0);
  Analyse(r);
  ExpectFundamental(r, 1, 0, 0.0);
  EXPECT_TRUE(Kept(r).empty());
  // All zero at the largest size: the walk ends at the last element.
  r.spectrum.FFT_N = kSampleCapacity;
  for (int k = 0; k < kSampleCapacity; ++k) r.spectrum.FFTre[k] = r.spectrum.FFTim[k] = 0.0;
  Analyse(r);
  ExpectFundamental(r, kSampleCapacity - 1, 0, 0.0);
  EXPECT_TRUE(Kept(r).empty());
}

TEST(SpectrumAnalysis, NanMagnitudeIsNeverPicked) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  std::vector<double> mags(32, 1.0);
  mags[0] = 50, mags[1] = 20, mags[2] = 5, mags[3] = 3, mags[4] = 10, mags[5] = 40, mags[28] = 25;
  mags[20] = std::numeric_limits<double>::quiet_NaN();
  SetSpectrum(r, 64, mags);
  Analyse(r);
  ExpectFundamental(r, 4, 5, 40.0);
  EXPECT_EQ(r.spectrum.FloorLevel, 1.0 + (40.0 - 1.0) * 0.012);
  EXPECT_TRUE(std::isnan(r.spectrum.SpecLines[20].mag));
  EXPECT_NE(r.spectrum.SpecLines[20].freq, 0.0) << "the NaN record must not be marked as picked";
  r.spectrum.SpecLines[20].mag = 0.0;
  EXPECT_EQ(Kept(r), (Picks{{5, 40.0}, {28, 25.0}}));
}

// Records for the peak cleaning (band half-width 0.585); line i has a nonzero frequency.
void SetRecords(AnalysisRecord& r, int n, const std::vector<double>& mags) {
  r.spectrum.FFT_N = n;
  r.spectrum.FundMag = 40.0;
  r.spectrum.FloorLevel = 1.0;
  for (int i = 0; i < n / 2 + 4; ++i)
    r.spectrum.SpecLines[i] =
        SpecLine{i, 1.0 + i, i < static_cast<int>(mags.size()) ? mags[i] : 0.0};
}

TEST(CleanPeakTails, LowPeakClearsEverythingOnItsLeft) {
  for (int p = 0; p <= 3; ++p) {
    test::Fixture f;
    AnalysisRecord& r = f.r();
    std::vector<double> mags(16, 20.0);
    for (int i = 0; i < p + 4; ++i) mags[i] = i == p ? 30.0 : 7.0;
    SetRecords(r, 32, mags);
    CleanPeakTails(r.spectrum, p);
    for (int i = 0; i < 16; ++i) {
      const SpecLine& s = r.spectrum.SpecLines[i];
      const double want = i == p ? 30.0 : i <= p + 3 ? 0.0 : 20.0;
      EXPECT_TRUE(s.line == i && s.mag == want && (s.freq == 0) == (i <= p + 3))
          << "p=" << p << " line " << i << ": " << s.line << ", " << s.freq << ", " << s.mag;
    }
  }
}

TEST(CleanPeakTails, BandStartsOneBeyondWhereTheDescentStopped) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  std::vector<double> mags(32, 10.0);
  const double skirt[] = {9, 9, 8, 6, 4, 4.3, 10};  // distance 1 .. 7 from the peak
  for (int d = 1; d <= 7; ++d) mags[10 - d] = mags[10 + d] = skirt[d - 1];
  mags[10] = 30.0;
  SetRecords(r, 64, mags);
  CleanPeakTails(r.spectrum, 10);
  for (int i = 0; i < 32; ++i) {
    const bool cleared = i >= 4 && i <= 16 && i != 10;
    EXPECT_EQ(r.spectrum.SpecLines[i].mag, cleared ? 0.0 : mags[i]) << "line " << i;
  }
}

TEST(CleanPeakTails, DescentNeverClearsLineZero) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  std::vector<double> mags = {2.6, 3, 4, 5, 6, 30, 7, 7, 7};
  mags.resize(16, 20.0);
  SetRecords(r, 32, mags);
  CleanPeakTails(r.spectrum, 5);
  EXPECT_EQ(r.spectrum.SpecLines[0].mag, 2.6);
  EXPECT_NE(r.spectrum.SpecLines[0].freq, 0.0);
  for (int i = 1; i <= 8; ++i)
    EXPECT_EQ(r.spectrum.SpecLines[i].mag, i == 5 ? 30.0 : 0.0) << "line " << i;
}

TEST(SpectrumEnergy, ParsevalEnergyAndSymmetryErrors) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  r.spectrum.FFT_N = 4;
  const double x[4] = {1, 2, 3, 4};
  fft_float(4, FftDirection::Forward, x, {}, r.spectrum.FFTre, r.spectrum.FFTim);
  r.spectrum.EvenSymErrRe = r.spectrum.OddSymErrIm = 9.0;
  ParsevalEnergy(r.spectrum);
  SymmetryErrors(r.spectrum);
  EXPECT_NEAR(r.spectrum.TotalEnergy, 56.0, 1e-12);  // lines 0 and 2 counted twice like line 1
  EXPECT_NEAR(r.spectrum.EvenSymErrRe, 0.0, 1e-12);
  EXPECT_NEAR(r.spectrum.OddSymErrIm, 0.0, 1e-12);

  // Both end lines count, and the departures are measured.
  r.spectrum.FFT_N = 8;
  const double re[8] = {1, 2, 0, 0, 3, 0, 0, 5}, im[8] = {0, 0, 1, 0.5, 0, 0.25, 1, 0};
  for (int k = 0; k < 8; ++k) r.spectrum.FFTre[k] = re[k], r.spectrum.FFTim[k] = im[k];
  ParsevalEnergy(r.spectrum);
  SymmetryErrors(r.spectrum);
  EXPECT_EQ(r.spectrum.TotalEnergy, 2.0 * (1 + 4 + 1 + 0.25 + 9) / 8);
  EXPECT_EQ(r.spectrum.EvenSymErrRe, 3.0);  // line 1 against line 7
  EXPECT_EQ(r.spectrum.OddSymErrIm, 2.0);   // line 2 against line 6
  r.spectrum.FFTre[3] = r.spectrum.FFTim[3] = std::numeric_limits<double>::quiet_NaN();
  SymmetryErrors(r.spectrum);  // a NaN departure never replaces the largest one
  EXPECT_EQ(r.spectrum.EvenSymErrRe, 3.0);
  EXPECT_EQ(r.spectrum.OddSymErrIm, 2.0);
  // Two points: no pair to compare, and the picking ends at once.
  r.spectrum.FFT_N = 2;
  r.spectrum.FFTre[0] = 5.0, r.spectrum.FFTre[1] = -7.0, r.spectrum.FFTim[1] = 4.0;
  SymmetryErrors(r.spectrum);
  EXPECT_EQ(r.spectrum.EvenSymErrRe, 0.0);
  EXPECT_EQ(r.spectrum.OddSymErrIm, 0.0);
  Analyse(r);
  EXPECT_EQ(r.spectrum.SpecLines[0].mag, 0.0);
}

}  // namespace
}  // namespace tz
