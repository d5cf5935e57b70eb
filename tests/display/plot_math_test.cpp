// Ranges, steps, scales and pixel arithmetic of the graph display, and the
// panels' number texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "display/format_decimals.h"
#include "display/plot_geometry.h"
#include "display/plot_math.h"
#include "tests/display/display_fixture.h"

namespace tz::test {
namespace {

using PlotMath = DisplayFixture;

TEST(FormatDecimals, RoundsTheDecimalValueShownHalfAwayFromZero) {
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {
      {1234.5678, 3, "1234.568"},
      {100.0, 3, "100"},
      {0.00001234, 2, "1.23e-005"},  // the exponent kept behind the mantissa
      {0.00001235, 2, "1.24e-005"},
      {1.5e20, 3, "1.5e+020"},  // fewer decimals than d: whole
      {1.2345678901234567e-15, 2, "1.23e-015"},
      {5e-15, 2, "5.e-015"},  // a short text after a long one: its exponent alone
      {123456789.987, 2, "123456790"},  // d + 8 significant digits
      {1234567890.12, 2, "1234567890"},
      {12345678.9, 0, "12345679"},
      {8192.0, 0, "8192"},
      {8192.5, 0, "8193"},  // no point without decimals
      {-8192.5, 0, "-8193"},
      {2.5 - 4.0, 3, "-1.5"},
      {0.125, 2, "0.13"},  // half away from zero
      {-0.125, 2, "-0.13"},
      {2.675, 2, "2.68"},    // the double lies under 2.675; its text is 2.675
      {1.0005, 3, "1.001"},  // likewise
      {2.8039 - 8.4031, 3, "-5.599"},
      {2.8036 - 8.4031, 3, "-5.6"},  // what is left of rounded digits: as for -5.6
      {-10.004, 2, "-10"},
      {9.9996, 3, "10"},  // the carry runs into a new digit
      {-9.9996, 3, "-10"},
      {99.9996, 3, "100"},
      {0.99996, 4, "1"},
      {9.9996e-5, 3, "1.e-004"},  // ... and into the exponent
      {-9.996e-10, 2, "-1.e-009"},
      {9.9996e-2, 3, "1.e-001"},
      {0.0, 4, "0"},
      {-0.0, 2, "0"},  // never "-0"
      {-0.4, 0, "0"},
      {-0.5, 0, "-1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatDecimals(c.value, c.decimals), c.text) << c.value << " " << c.decimals;
}

// Any value: the text reads back within half a unit of its last decimal,
// with at most d decimals and no trailing zero behind the point.
TEST(FormatDecimals, TheTextIsTheValueToHalfItsLastDecimal) {
  uint64_t seed = 99;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    const int d = static_cast<int>(seed >> 60) % 5;
    const double magnitude = std::pow(10.0, static_cast<double>(seed >> 40 & 0xff) / 32.0 - 1.0);
    const double value = ((seed >> 20 & 1) ? -1.0 : 1.0) * magnitude *
                         (1.0 + static_cast<double>(seed >> 24 & 0xffff) / 65536.0);
    const std::string text = FormatDecimals(value, d);
    SCOPED_TRACE(text);
    ASSERT_EQ(text.find('e'), std::string::npos);  // 0.1 .. 1e7: fixed
    const size_t dot = text.find('.');
    const size_t shown = dot == std::string::npos ? 0 : text.size() - dot - 1;
    EXPECT_LE(shown, static_cast<size_t>(d));
    if (shown > 0) {
      EXPECT_NE(text.back(), '0');
    }
    EXPECT_LE(std::fabs(std::stod(text) - value), 0.5 * std::pow(10.0, -d) + 1e-15 * magnitude);
  }
}

TEST(FormatDecimals, NonFiniteValuesKeepTheirText) {
  EXPECT_EQ(FormatDecimals(std::numeric_limits<double>::infinity(), 0), "inf");
  EXPECT_EQ(FormatDecimals(-std::numeric_limits<double>::infinity(), 2), "-inf");
  EXPECT_EQ(FormatDecimals(std::nan(""), 0), "nan");
}

TEST_F(PlotMath, FullRangeStepsFollowTheSamplesPerPixel) {
  r.counters.ProgrCount = 10000;
  r.spectrum.FFT_N = 8192;
  ASSERT_TRUE(ComputeRanges(s, r, l));
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 10000);
  EXPECT_EQ(s.TimeStep, 13);
  EXPECT_EQ(s.TimePixStep, 1);
  EXPECT_EQ(s.FftEnd, 4096);
  EXPECT_EQ(s.FftStep, 6);
  EXPECT_EQ(s.FftPixStep, 1);

  r.counters.ProgrCount = 500;
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.TimeStep, 1);
  EXPECT_EQ(s.TimePixStep, 1);
  r.counters.ProgrCount = 300;
  r.spectrum.FFT_N = 256;
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.TimePixStep, 2);
  EXPECT_EQ(s.FftPixStep, 6);  // 800 / 128
}

TEST_F(PlotMath, NoSamplesNothingToDraw) {
  s.TimeEnd = 77;
  EXPECT_FALSE(ComputeRanges(s, r, l));
  EXPECT_EQ(s.TimeEnd, 77);
}

TEST_F(PlotMath, ZeroWidthPlotDoesNotDivideByZero) {
  SetPlot(0, 500, 480);
  r.counters.ProgrCount = 1000;
  r.spectrum.FFT_N = 1024;
  ASSERT_TRUE(ComputeRanges(s, r, l));
  EXPECT_EQ(s.TimeStep, 1001);
  EXPECT_EQ(s.TimePixStep, 1);
}

TEST_F(PlotMath, ZoomKeptFromALongerFileNeverReachesPastTheData) {
  s.XZoomActive = 1;
  s.TimeStart = 4200, s.TimeEnd = 12600, s.TimeStep = 10;
  s.FftStart = 100, s.FftEnd = 300, s.FftStep = 2;
  r.counters.ProgrCount = 6000;
  r.spectrum.FFT_N = 1024;
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.XZoomActive, 1);
  EXPECT_EQ(s.TimeStart, 4200);
  EXPECT_EQ(s.TimeEnd, 6000);
  EXPECT_EQ(s.FftEnd, 300);

  // Nothing of the zoomed stretch in this file: the full range is drawn.
  s.TimeStart = 4200, s.TimeEnd = 12600;
  r.counters.ProgrCount = 3000;
  s.Markers[0].X = 200, s.Markers[1].X = 600;
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.XZoomActive, 0);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 3000);
  EXPECT_EQ(s.FftStart, 0);
  EXPECT_EQ(s.FftEnd, 512);
  EXPECT_EQ(s.Markers[0].X, 200);  // markers kept
  EXPECT_EQ(s.Markers[1].X, 600);

  // A stretch that ends before its first drawn sample is empty too.
  s.XZoomActive = 1;
  s.TimeStart = 2996, s.TimeEnd = 12600;  // draws from 2996 + 5, ends at 3000
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.XZoomActive, 0);
  EXPECT_EQ(s.TimeStart, 0);
}

TEST_F(PlotMath, ScalesAtAHundredPercentAndZoomed) {
  const double H = 480;
  VerticalScale v;
  std::array<VerticalScale, 3> bands;
  SetStatistics(100, -100);  // R = 200
  TimeSeries t{r.samples.RPMfiltArr, 100, -100, 100.0};
  v = SingleGraphScale(H, t);
  EXPECT_NEAR(v.Scale, 0.96, 1e-12);
  EXPECT_NEAR(v.Offset, 240.0, 1e-9);
  // The whole range spans 0.4 H around the middle line: 90 lies 0.18 H
  // above it (86.4 pixels), -90 as far under it.
  EXPECT_EQ(ValueToY(90, v.Scale, v.Offset, 0, H, 0), 153);
  EXPECT_EQ(ValueToY(-90, v.Scale, v.Offset, 0, H, 0), 326);

  t.zoom = 200.0;  // twice the height, the zero line where it was
  v = SingleGraphScale(H, t);
  EXPECT_NEAR(v.Scale, 1.92, 1e-12);
  EXPECT_NEAR(v.Offset, 240.0, 1e-9);
  t.zoom = 1.0;  // the smallest whole zoom is a zoom too
  v = SingleGraphScale(H, t);
  EXPECT_NEAR(v.Scale, 0.0096, 1e-15);
  EXPECT_NEAR(v.Offset, 240.0, 1e-9);

  // Three bands and nothing beyond them (the result made in place, so a
  // fourth band would land on the value behind it).
  struct Guarded {
    std::array<VerticalScale, 3> bands;
    VerticalScale behind{7.0, 7.0, 7.0};
  };
  const Guarded guarded{BandScales(s, H, r)};
  EXPECT_EQ(guarded.behind, (VerticalScale{7.0, 7.0, 7.0}));
  bands = guarded.bands;
  EXPECT_NEAR(bands[0].Offset, 60.0, 1e-9);
  EXPECT_NEAR(bands[0].Base, 338.0, 1e-9);
  EXPECT_DOUBLE_EQ(bands[1].Base, 0.31666666666666665 * 480 + 50.0);
  EXPECT_DOUBLE_EQ(bands[2].Base, 0.0);

  r.spectrum.FundLine = 40;
  r.spectrum.FFTre[40] = 3.0;
  r.spectrum.FFTim[40] = 4.0;  // magnitude 5
  v = FftScale(s, H, r);
  // The fundamental stands 0.9 H above the baseline at 0.045 H.
  EXPECT_NEAR(v.Offset, 0.045 * H, 1e-9);
  EXPECT_NEAR(v.Scale * 5.0, 0.9 * H, 1e-9);
}

TEST_F(PlotMath, DegenerateScalesKeepTheZeroLineAndLayTheCurveOnIt) {
  const double H = 480;
  VerticalScale v;
  std::array<VerticalScale, 3> bands;
  const double inf = std::numeric_limits<double>::infinity();
  for (const TimeSeries& t : {TimeSeries{r.samples.RPMfiltArr, 0, 0, 100.0},     // R = 0
                              TimeSeries{r.samples.RPMfiltArr, 100, -100, 0.0},   // zoom 0
                              TimeSeries{r.samples.RPMfiltArr, inf, 0, 100.0}}) {  // R infinite
    v = SingleGraphScale(H, t);
    EXPECT_EQ(v.Scale, 0.0);
    EXPECT_EQ(v.Offset, 240.0);
    EXPECT_EQ(ValueToY(12345.0, v.Scale, v.Offset, 0, H, 0), 240);
    EXPECT_EQ(ValueToY(inf, v.Scale, v.Offset, 0, H, 0), 240);
    EXPECT_EQ(ValueAtRow(H, 100, v.Scale, v.Offset, 0), 0.0);
  }
  SetStatistics(0, 0);
  bands = BandScales(s, H, r);
  EXPECT_EQ(bands[1].Scale, 0.0);
  EXPECT_EQ(bands[1].Offset, 60.0);
  // Lines outside the arrays have no magnitude.
  r.spectrum.FFTre[0] = 3.0;
  r.spectrum.FFTre[kSampleCapacity - 1] = 4.0;
  EXPECT_EQ(LineMagnitudeAt(r, 0), 3.0);
  EXPECT_EQ(LineMagnitudeAt(r, kSampleCapacity - 1), 4.0);
  EXPECT_EQ(LineMagnitudeAt(r, -1), 0.0);
  EXPECT_EQ(LineMagnitudeAt(r, kSampleCapacity), 0.0);
  r.spectrum.FundLine = 40;  // magnitude 0
  v = FftScale(s, H, r);
  EXPECT_EQ(v.Scale, 0.0);
  EXPECT_DOUBLE_EQ(v.Offset, 0.045 * H);
}

TEST(ValueToY, ClipsAtTheTopOnlyAndHoldsFarRowsToSixteenBits) {
  const double H = 480;
  EXPECT_EQ(ValueToY(1000, 1.0, 0, 0, H, 7), 7);    // above: the top row
  EXPECT_EQ(ValueToY(480, 1.0, 0, 0, H, 7), 0);     // exactly H: not clipped
  EXPECT_EQ(ValueToY(-100, 1.0, 0, 0, H, 7), 580);  // below: under the area
  EXPECT_EQ(ValueToY(-1e300, 1.0, 0, 0, H, 0), 32767);
  EXPECT_EQ(ValueToY(std::nan(""), 1.0, 0, 0, H, 0), 32767);
  EXPECT_EQ(ValueToY(-std::numeric_limits<double>::infinity(), 1.0, 0, 0, H, 0), 32767);
  EXPECT_EQ(ValueToY(std::numeric_limits<double>::infinity(), 1.0, 0, 0, H, 3), 3);
  EXPECT_EQ(PixelFromDouble(-1e9), -32768);
  EXPECT_EQ(PixelFromDouble(-2.7), -2);  // toward zero
}

TEST_F(PlotMath, ColumnsMapToSamplesAndLinesWithinTheData) {
  r.counters.ProgrCount = 10000;
  r.spectrum.FFT_N = 8192;
  PlotGeometry g = UpdateGeometry(s, r, l);
  EXPECT_EQ(SampleAtColumn(g, r, 100), 13 * 100 + 5);
  EXPECT_EQ(LineAtColumn(g, r, 100), 600);
  // Right of the data: the last sample or line, never beyond.
  EXPECT_EQ(SampleAtColumn(g, r, 799), 10000);
  r.counters.ProgrCount = 300;
  g = UpdateGeometry(s, r, l);
  EXPECT_EQ(s.TimePixStep, 2);
  EXPECT_EQ(SampleAtColumn(g, r, 101), 50 + 5);
  EXPECT_EQ(SampleAtColumn(g, r, 790), 300);
  EXPECT_EQ(LineAtColumn(g, r, 5000), 4095);
}

TEST_F(PlotMath, ColumnsAtTheEdgesOfTheSpectrum) {
  r.counters.ProgrCount = 1000;
  r.spectrum.FFT_N = 256;  // 128 lines on 800 pixels: 6 pixels a line
  PlotGeometry g = UpdateGeometry(s, r, l);
  ASSERT_EQ(g.FftPixStep, 6);
  EXPECT_EQ(LineAtColumn(g, r, 0), 0);
  EXPECT_EQ(LineAtColumn(g, r, 61), 10);
  EXPECT_EQ(LineAtColumn(g, r, 799), 127);
  // A spectrum of one line, and none: every column reads line 0.
  for (int32_t n : {2, 0}) {
    r.spectrum.FFT_N = n;
    g = UpdateGeometry(s, r, l);
    EXPECT_EQ(g.FftPixStep, n == 2 ? 800 : 1) << n;  // no span: one pixel, not a division by 0
    EXPECT_EQ(LineAtColumn(g, r, 0), 0) << n;
    EXPECT_EQ(LineAtColumn(g, r, 400), 0) << n;
  }
  // One sample is a record with samples.
  r.counters.ProgrCount = 1;
  EXPECT_TRUE(UpdateGeometry(s, r, l).HasSamples);
}

}  // namespace
}  // namespace tz::test
