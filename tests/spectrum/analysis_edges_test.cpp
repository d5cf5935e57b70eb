// Boundaries of the spectrum analysis: the lines the fundamental search and
// the DC removal reach, the skirt cleaned beside a picked peak, and the lines
// compared for symmetry.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "processing/analysis_record.h"
#include "spectrum/spectrum_analysis.h"
#include "tests/test_support.h"

namespace tz {
namespace {

// Lines 0 .. N/2 - 1 of a real signal's spectrum (the upper half mirrors
// them) and the given Nyquist line.
void SetMagnitudes(AnalysisRecord& r, int n, const std::vector<double>& mags, double nyquist) {
  r.spectrum.FFT_N = n;
  r.stats.Fc = 100.0;
  for (int k = 0; k < n; ++k) r.spectrum.FFTim[k] = 0.0;
  for (int k = 0; k < n / 2; ++k) r.spectrum.FFTre[k] = r.spectrum.FFTre[(n - k) % n] = mags[k];
  r.spectrum.FFTre[n / 2] = nyquist;
}

std::vector<std::pair<int, double>> KeptLines(const AnalysisRecord& r) {
  std::vector<std::pair<int, double>> out;
  for (int i = 0; i < r.spectrum.FFT_N / 2; ++i)
    if (r.spectrum.SpecLines[i].mag != 0) out.emplace_back(i, r.spectrum.SpecLines[i].mag);
  return out;
}

TEST(SpectrumEdges, FundamentalSearchEndsBelowTheNyquistLine) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  // N = 32: DC slope 50, 20, 5, 3, rise at line 4; the last line below the
  // Nyquist line (15) is the largest candidate, the Nyquist line larger still.
  std::vector<double> mags = {50, 20, 5, 3, 10, 40, 12, 4, 2, 3, 25, 6, 2, 1, 8, 45};
  SetMagnitudes(r, 32, mags, 100.0);
  FindFundamental(r.spectrum);
  EXPECT_EQ(r.spectrum.DCEndLine, 4);
  EXPECT_EQ(r.spectrum.FundLine, 15);
  EXPECT_EQ(r.spectrum.FundMag, 45.0);
}

TEST(SpectrumEdges, DcSlopeEndsAtTheFirstRisingLineWhichIsRemoved) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  // Lines 1 and 2 are equal: the slope goes on through them, and line 3 is the
  // first to rise. Line 3 (30) and line 4 (25) would both be peaks; the DC
  // removal takes line 3, so line 4 is picked, next to the fundamental at 10.
  std::vector<double> mags(16, 2.0);
  mags[0] = 50, mags[1] = 20, mags[2] = 20, mags[3] = 30, mags[4] = 25, mags[10] = 40;
  SetMagnitudes(r, 32, mags, 0.0);
  Progress progress;
  FindFundamental(r.spectrum);
  EXPECT_EQ(r.spectrum.DCEndLine, 3);
  EXPECT_EQ(r.spectrum.FundLine, 10);
  EXPECT_EQ(r.spectrum.FundMag, 40.0);
  AnalyseSpectrum(r.spectrum, r.stats.Fc, progress);
  EXPECT_EQ(r.spectrum.FloorLevel, 2.0 + (40.0 - 2.0) * 0.012);
  EXPECT_EQ(KeptLines(r), (std::vector<std::pair<int, double>>{{4, 25.0}, {10, 40.0}}));
}

TEST(SpectrumEdges, PeakSkirtIsThreeLinesThenTheFallingSlope) {
  // Peak 30 at line 16 of N = 64; band half-width (40 - 1) x 0.015 = 0.585.
  // On one side the lines next to the peak are 9, 3, 5 followed by 20: exactly
  // those three go, whatever their order. On the other side the same three are
  // followed by the slope 4, 3, 3, 2, 10: the descent goes on while strictly
  // falling (4, 3), the band then takes the equal 3 but not the 2 below it.
  for (int side : {-1, +1}) {
    test::Fixture f;
    AnalysisRecord& r = f.r();
    const int p = 16;
    std::vector<double> mags(40, 20.0);
    mags[p] = 30.0;
    const double near[] = {9, 3, 5};
    const double slope[] = {4, 3, 3, 2, 10};
    for (int d = 1; d <= 3; ++d) mags[p + side * d] = mags[p - side * d] = near[d - 1];
    for (int d = 4; d <= 8; ++d) mags[p - side * d] = slope[d - 4];
    r.spectrum.FFT_N = 64;
    r.spectrum.FundMag = 40.0;
    r.spectrum.FloorLevel = 1.0;
    for (int i = 0; i < 36; ++i) r.spectrum.SpecLines[i] = SpecLine{i, 1.0 + i, mags[i]};

    CleanPeakTails(r.spectrum, p);
    for (int i = 0; i < 36; ++i) {
      const int d = (i - p) * side;  // distance, positive on the plain side
      const bool cleared = (d >= 1 && d <= 3) || (d <= -1 && d >= -6);
      const SpecLine& s = r.spectrum.SpecLines[i];
      EXPECT_EQ(s.line, i);
      EXPECT_EQ(s.mag, cleared ? 0.0 : mags[i]) << "side " << side << " line " << i;
      EXPECT_EQ(s.freq, cleared || i == p ? 0.0 : 1.0 + i) << "side " << side << " line " << i;
    }
  }
}

TEST(SpectrumEdges, SymmetryIsComparedOverLinesOneToBelowNyquist) {
  test::Fixture f;
  AnalysisRecord& r = f.r();
  const int n = 16;
  // Even real part and odd imaginary part over lines 1..15; line 0 and the
  // Nyquist line have partners that do not pair up: the element past the
  // transform holds other values, and the Nyquist line an imaginary part.
  auto reset = [&r] {
    r.spectrum.FFT_N = n;
    for (int k = 0; k <= n; ++k) r.spectrum.FFTre[k] = r.spectrum.FFTim[k] = 0.0;
    for (int k = 1; k < n / 2; ++k) {
      r.spectrum.FFTre[k] = r.spectrum.FFTre[n - k] = 1.0 + k;
      r.spectrum.FFTim[k] = 0.5 * k;
      r.spectrum.FFTim[n - k] = -0.5 * k;
    }
    r.spectrum.FFTre[0] = 5.0;
    r.spectrum.FFTre[n / 2] = 3.0;
    r.spectrum.FFTim[n / 2] = 7.0;
    r.spectrum.FFTre[n] = 100.0;
    r.spectrum.FFTim[n] = 100.0;
  };
  reset();
  r.spectrum.EvenSymErrRe = r.spectrum.OddSymErrIm = 9.0;
  SymmetryErrors(r.spectrum);
  EXPECT_EQ(r.spectrum.EvenSymErrRe, 0.0);
  EXPECT_EQ(r.spectrum.OddSymErrIm, 0.0);

  // A departure at line 1 counts.
  reset();
  r.spectrum.FFTre[n - 1] += 0.5;
  r.spectrum.FFTim[n - 1] += 0.25;
  SymmetryErrors(r.spectrum);
  EXPECT_EQ(r.spectrum.EvenSymErrRe, 0.5);
  EXPECT_EQ(r.spectrum.OddSymErrIm, 0.25);

  // So does one at line N/2 - 1.
  reset();
  r.spectrum.FFTre[n / 2 - 1] -= 0.75;
  r.spectrum.FFTim[n / 2 + 1] -= 0.125;
  SymmetryErrors(r.spectrum);
  EXPECT_EQ(r.spectrum.EvenSymErrRe, 0.75);
  EXPECT_EQ(r.spectrum.OddSymErrIm, 0.125);
}

}  // namespace
}  // namespace tz
