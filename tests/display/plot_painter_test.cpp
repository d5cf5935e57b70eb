// What the plot window shows, pixel by pixel: the graphs painted into an
// image of the plot's size.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "display/plot_math.h"
#include "display/plot_painter.h"
#include "tests/display/display_fixture.h"

namespace tz::test {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

class Painting : public DisplayFixture {
 protected:
  QImage Paint() {
    QImage img(l.PlotWidth, l.ClientHeight, QImage::Format_RGB32);
    img.fill(Qt::gray);
    QPainter p(&img);
    g = UpdateGeometry(s, r, l);
    PaintPlot(p, s, g, r, lines, Qt::white);
    return img;
  }
  static QRgb At(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xff000000u; }
  static int CountIn(const QImage& img, QRgb colour, int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(img.height() - 1, y1); ++y)
      for (int x = std::max(0, x0); x <= std::min(img.width() - 1, x1); ++x)
        n += At(img, x, y) == colour;
    return n;
  }
  static int Count(const QImage& img, QRgb colour) {
    return CountIn(img, colour, 0, img.width() - 1, 0, img.height() - 1);
  }

  MarkerLines lines;
  PlotGeometry g;  // of the last paint
};

TEST_F(Painting, NoSamplesLeavesTheWindowColourOnly) {
  const QImage img = Paint();
  EXPECT_EQ(Count(img, kWhite), img.width() * img.height());
}

TEST_F(Painting, SingleGraphCurveZeroLineAndClipping) {
  Show(DisplayChoice::ShowRpmFilt);
  SetStatistics(100, -100);
  FillSamples(300, 90.0);  // 2 pixels a sample; 90 is drawn at row 153
  QImage img = Paint();
  EXPECT_EQ(s.TimePixStep, 2);
  EXPECT_EQ(At(img, 100, 153), kBlue);
  EXPECT_EQ(At(img, 100, 240), kBlack);  // zero line in the middle
  EXPECT_EQ(At(img, 799, 240), kBlack);
  EXPECT_EQ(At(img, 700, 153), kWhite);  // no data right of the last sample
  EXPECT_EQ(At(img, 100, 152), kWhite);

  FillSamples(300, 1000.0);  // far above the range: the top row
  img = Paint();
  EXPECT_EQ(At(img, 100, 0), kBlue);
  EXPECT_EQ(CountIn(img, kBlue, 0, 799, 1, 499), 0);

  FillSamples(300, -260.0);  // under the drawing area (480 rows): not clipped
  img = Paint();
  EXPECT_EQ(At(img, 100, 489), kBlue);
}

TEST_F(Painting, EachSingleGraphHasItsColour) {
  SetStatistics(100, -100);
  FillSamples(300, 90.0);
  const std::pair<DisplayChoice, QRgb> graphs[] = {{DisplayChoice::ShowRpmInst, kMagenta},
                                                   {DisplayChoice::ShowTorque, kGreen},
                                                   {DisplayChoice::ShowPower, kRed}};
  for (const auto& [choice, colour] : graphs) {
    Show(choice);
    EXPECT_EQ(At(Paint(), 100, 153), colour);
  }
}

TEST_F(Painting, ThreeBandsWithTheirZeroLines) {
  Show(DisplayChoice::Show3RpmFilt);
  SetStatistics(100, -100);
  FillSamples(1000, 50.0);
  const QImage img = Paint();
  // Zero lines at 0.275 H - 50, 0.558 H - 50 and 0.875 H (H = 480).
  for (int row : {82, 218, 420}) {
    EXPECT_EQ(At(img, 400, row), kBlack) << row;
    EXPECT_EQ(At(img, 799, row), kBlack) << row;
  }
  // 50 stands 30 pixels above each zero line.
  EXPECT_EQ(At(img, 400, 52), kBlue);
  EXPECT_EQ(At(img, 400, 188), kGreen);
  EXPECT_EQ(At(img, 400, 390), kRed);
}

// The rows of a value on the single graph of the fixture (H = 480, range
// 200 at 100 %: 0.96 pixels a unit, the zero line at 240), computed here.
int SingleRow(double v) { return static_cast<int>(480.0 - (0.96 * v + 240.0)); }

// Rows y0..y1 of column x that are not the colour (the zero line at 240 aside).
int GapsIn(const QImage& img, QRgb colour, int x, int y0, int y1) {
  int gaps = 0;
  for (int y = y0; y <= y1; ++y)
    gaps += y != 240 && (img.pixel(x, y) | 0xff000000u) != colour;
  return gaps;
}

TEST_F(Painting, EachStepStrokesTheRangeOfItsSamples) {
  Show(DisplayChoice::ShowTorque);
  SetStatistics(100, -100);
  // 8000 samples on 800 pixels: 11 a step, the steps starting at Progr 5,
  // 16, 27...; one sample in eleven, never a step's first, stands at +80.
  FillSamples(8000, -80.0);
  for (int i = 11; i <= 8000; i += 11) r.samples.TRQfiltArr[i] = 80.0;
  const QImage img = Paint();
  ASSERT_EQ(s.TimeStep, 11);
  const int top = SingleRow(80), bottom = SingleRow(-80);  // 163, 316
  for (int x = 0; x < 725; ++x) {
    SCOPED_TRACE(x);
    EXPECT_EQ(GapsIn(img, kGreen, x, top, bottom), 0);  // a solid band
    EXPECT_EQ(CountIn(img, kGreen, x, x, 0, top - 1), 0);
    EXPECT_EQ(CountIn(img, kGreen, x, x, bottom + 1, 499), 0);
  }
  EXPECT_EQ(CountIn(img, kGreen, 728, 799, 0, 499), 0);  // 727 steps
}

TEST_F(Painting, ARippleFasterThanTheStepsIsAStrokeOfItsTrueRangeInEachColumn) {
  Show(DisplayChoice::ShowRpmFilt);
  SetStatistics(100, -100);
  // 30 samples a cycle, 13 samples a step (10000 samples on 800 pixels).
  FillSamples(10000, 0.0);
  for (int i = 1; i <= 10000; ++i) r.samples.RPMfiltArr[i] = 90.0 * std::sin(i * 2 * std::numbers::pi / 30);
  const QImage img = Paint();
  ASSERT_EQ(s.TimeStep, 13);
  for (int x = 0; x < 769; ++x) {
    SCOPED_TRACE(x);
    int hi = 499, lo = 0;  // the rows of the step's highest and lowest sample
    for (int i = 5 + 13 * x; i < 5 + 13 * (x + 1); ++i) {
      hi = std::min(hi, SingleRow(r.samples.RPMfiltArr[i]));
      lo = std::max(lo, SingleRow(r.samples.RPMfiltArr[i]));
    }
    EXPECT_GE(lo - hi, 60);  // more than a third of a cycle: most of the swing
    EXPECT_EQ(GapsIn(img, kBlue, x, hi, lo), 0);
    // Nothing beyond the swing (the joins to the neighbours stay within it).
    EXPECT_EQ(CountIn(img, kBlue, x, x, 0, SingleRow(90) - 1), 0);
    EXPECT_EQ(CountIn(img, kBlue, x, x, SingleRow(-90) + 1, 499), 0);
  }
}

// The picture of a time curve drawn with one vertex per sample: the polyline
// through (column, row of the sample), each column TimePixStep on, in a
// cosmetic one-pixel pen, with the rows of the geometry's scale.
QImage PolylineReference(const PlotGeometry& g, const LayoutRecord& l,
                         const std::vector<std::pair<const double*, QRgb>>& curves,
                         const std::vector<VerticalScale>& scales, const std::vector<int>& zeros) {
  QImage img(l.PlotWidth, l.ClientHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  for (size_t c = 0; c < curves.size(); ++c) {
    QPolygon points;
    int x = 0;
    for (int32_t progr = g.FirstProgr; progr < g.TimeEnd; ++progr, x += g.TimePixStep) {
      const VerticalScale& v = scales[c];
      points << QPoint(x, ValueToY(curves[c].first[progr], v.Scale, v.Offset, v.Base,
                                   g.PlotHeight, g.PlotTop));
      if (x > g.PlotWidth) break;
    }
    QPen pen(QColor(curves[c].second), 1, Qt::SolidLine, Qt::FlatCap);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawPolyline(points);
    pen.setColor(Qt::black);
    p.setPen(pen);
    p.drawLine(0, zeros[c], g.PlotWidth, zeros[c]);
  }
  return img;
}

TEST_F(Painting, OneSamplePerStepIsThePolylineThroughTheSamples) {
  SetStatistics(100, -100);
  FillSamples(20000, 0.0);
  uint32_t seed = 12345;
  for (int i = 1; i <= 20000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    // Mostly within the range, some far above (clipped) and below (not).
    const double v = (static_cast<int>(seed >> 8) % 3000 - 1500) / 10.0;
    r.samples.RPMfiltArr[i] = r.samples.TRQfiltArr[i] = r.samples.POTfiltArr[i] = v;
  }
  struct Case {
    const char* what;
    int count, start, end;  // a zoom when end > 0
  };
  for (const Case& c : {Case{"300 samples, 2 pixels each", 300, 0, 0},
                        Case{"700 samples, 1 pixel each", 700, 0, 0},
                        Case{"zoomed to 600 samples", 20000, 9000, 9600},
                        Case{"zoomed to 250 samples, 3 pixels each", 20000, 15000, 15250}}) {
    SCOPED_TRACE(c.what);
    r.counters.ProgrCount = c.count;
    s = DisplayState{};
    s.XZoomActive = c.end > 0;
    s.TimeStart = c.start, s.TimeEnd = c.end, s.TimeStep = 1;
    Show(DisplayChoice::ShowPower);
    QImage img = Paint();
    ASSERT_EQ(g.TimeStep, 1);
    EXPECT_TRUE(img == PolylineReference(g, l, {{r.samples.POTfiltArr, kRed}}, {g.Graph},
                                         {PixelFromDouble(g.Graph.Offset)}));
    Show(DisplayChoice::Show3RpmFilt);
    img = Paint();
    std::vector<int> zeros;
    for (const VerticalScale& b : g.Bands)
      zeros.push_back(PixelFromDouble(g.PlotHeight - PixelFromDouble(b.Offset + b.Base)));
    EXPECT_TRUE(img == PolylineReference(g, l,
                                         {{r.samples.RPMfiltArr, kBlue},
                                          {r.samples.TRQfiltArr, kGreen},
                                          {r.samples.POTfiltArr, kRed}},
                                         {g.Bands.begin(), g.Bands.end()}, zeros));
  }
}

TEST_F(Painting, ZeroRangeLaysTheCurveOnTheZeroLine) {
  Show(DisplayChoice::ShowTorque);
  SetStatistics(0, 0);
  FillSamples(1000, 5.0);
  const QImage img = Paint();
  EXPECT_EQ(g.Graph.Scale, 0.0);
  EXPECT_EQ(Count(img, kGreen), 0);
  EXPECT_EQ(At(img, 400, 240), kBlack);
}

TEST_F(Painting, NonFiniteAndFarValuesNeitherCrashNorStall) {
  Show(DisplayChoice::ShowRpmFilt);
  SetStatistics(100, -100);
  FillSamples(400, 0.0);
  const double inf = std::numeric_limits<double>::infinity();
  for (int i = 1; i <= 400; ++i) {
    const double v[] = {inf, -inf, std::nan(""), 1e308, -1e308, 0.0};
    r.samples.RPMfiltArr[i] = v[i % 6];
  }
  const QImage img = Paint();
  EXPECT_GT(CountIn(img, kBlue, 0, 799, 0, 0), 0);  // the infinities at the top
  EXPECT_EQ(At(img, 400, 240), kBlack);

  SetStatistics(inf, std::nan(""));
  r.samples.RPMfiltArr[10] = 1.0;
  Paint();  // nothing to check but that it ends
  EXPECT_EQ(g.Graph.Scale, 0.0);
}

TEST_F(Painting, ZoomKeptFromALongerFileNeverDrawsItsSamples) {
  Show(DisplayChoice::ShowRpmFilt);
  SetStatistics(100, -100);
  FillSamples(12600, -90.0);  // the earlier, longer file
  FillSamples(2000, 90.0);    // this run: 2000 samples
  s.XZoomActive = 1;
  s.TimeStart = 1500, s.TimeEnd = 12600, s.TimeStep = 10;
  QImage img = Paint();
  EXPECT_EQ(s.TimeEnd, 2000);
  EXPECT_GT(CountIn(img, kBlue, 0, 799, 153, 153), 40);
  EXPECT_EQ(CountIn(img, kBlue, 0, 799, 154, 499), 0);  // no stale sample at -90

  s.XZoomActive = 1;
  s.TimeStart = 4200, s.TimeEnd = 12600;  // nothing of it in this run
  img = Paint();
  EXPECT_EQ(s.XZoomActive, 0);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(At(img, 100, 153), kBlue);
  EXPECT_EQ(CountIn(img, kBlue, 0, 799, 154, 499), 0);
}

TEST_F(Painting, MarkerLinesAreDottedAndLieUnderTheCurves) {
  Show(DisplayChoice::ShowRpmFilt);
  SetStatistics(100, -100);
  FillSamples(300, 90.0);
  lines.Set(MarkerLine::TimeX1, 100);
  lines.Set(MarkerLine::TimeX2, 300);
  lines.Set(MarkerLine::TimeY, 50);
  const QImage img = Paint();
  EXPECT_EQ(At(img, 100, 153), kBlue);  // the curve over the marker
  const int magenta = CountIn(img, kMagenta, 100, 100, 0, 499);
  EXPECT_GT(magenta, 150);  // dotted from the top to the client's bottom
  EXPECT_LT(magenta, 350);
  EXPECT_GT(CountIn(img, kMagenta, 100, 100, 481, 499), 0);
  EXPECT_GT(CountIn(img, qRgb(0, 255, 255), 300, 300, 0, 499), 150);
  EXPECT_GT(CountIn(img, kBlack, 0, 799, 50, 50), 200);
  EXPECT_LT(CountIn(img, kBlack, 0, 799, 50, 50), 600);
  EXPECT_EQ(CountIn(img, kMagenta, 0, 99, 0, 499), 0);
}

class FftPainting : public Painting {
 protected:
  FftPainting() {
    Show(DisplayChoice::ShowFft);
    r.counters.ProgrCount = 10000;
    r.spectrum.FFT_N = 8192;  // 4096 lines on 800 pixels: 6 lines a column
    for (int k = 0; k < 4096; ++k) r.spectrum.FFTre[k] = 0.01;
    r.spectrum.FundLine = 40;
    r.spectrum.FFTre[40] = 1.0;  // the fundamental: 0.9 H above the baseline
    r.spectrum.FFTre[80] = 0.5;
    r.spectrum.FFTre[120] = 0.25;
    r.spectrum.FFTre[300] = 0.75;
  }
  // Baseline at 480 - trunc(0.045 x 480) = 459.
  static constexpr int kBase = 459;
};

TEST_F(FftPainting, EnvelopeBaselineAndHarmonicColumns) {
  s.ShowHarmonics = 1;
  const QImage img = Paint();
  EXPECT_EQ(s.FftStep, 6);
  EXPECT_EQ(At(img, 400, kBase), kBlack);
  EXPECT_EQ(At(img, 799, kBase), kBlack);
  // The fundamental's column (lines 36..41) reaches 0.945 H up: row 26.
  EXPECT_EQ(At(img, 6, 27), kMagenta);
  EXPECT_EQ(At(img, 6, 200), kMagenta);
  EXPECT_EQ(At(img, 13, 300), kMagenta);  // line 80
  EXPECT_EQ(At(img, 20, 400), kMagenta);  // line 120
  EXPECT_EQ(CountIn(img, kMagenta, 27, 27, 0, 499), 0);  // 162..167: no multiple of 40
  // Line 300 is not a harmonic: the envelope rises to it in blue only.
  EXPECT_EQ(CountIn(img, kMagenta, 50, 50, 0, 499), 0);
  EXPECT_GT(CountIn(img, kBlue, 49, 51, 100, 200), 0);
  // The envelope leaves the area under a low column empty (401: lines
  // 2406..2411, no multiple of 40).
  EXPECT_EQ(At(img, 401, kBase - 2), kWhite);
}

TEST_F(FftPainting, SpectralLinesAndHarmonicPeaks) {
  s.FftEnvelope = 0;
  QImage img = Paint();
  EXPECT_EQ(At(img, 400, kBase - 2), kBlue);  // a low line, drawn from the baseline
  EXPECT_EQ(At(img, 6, 200), kBlue);
  EXPECT_EQ(Count(img, kMagenta), 0);  // harmonics off

  // The picked peaks alone, as lines even with the envelope on.
  s.FftEnvelope = 1;
  s.ShowHarmonicPeaks = 1;
  r.spectrum.SpecLines[40] = {40, 40.0, 1.0};
  r.spectrum.SpecLines[300] = {300, 300.0, 0.75};
  img = Paint();
  EXPECT_EQ(At(img, 6, 200), kBlue);
  EXPECT_EQ(At(img, 50, 200), kBlue);
  EXPECT_EQ(CountIn(img, kBlue, 400, 400, 0, kBase - 3), 0);  // other lines at the baseline
}

TEST_F(FftPainting, CleanSpectrumDropsTheDcSlopeAndTheFloor) {
  s.FftEnvelope = 0;
  s.CleanSpectrum = 1;
  r.spectrum.FFTre[0] = 5.0;  // a DC line far above the fundamental
  r.spectrum.DCEndLine = 11;  // columns 0 and 1
  r.spectrum.FloorLevel = 0.02;
  const QImage img = Paint();
  for (int x : {0, 1, 400, 700})
    EXPECT_EQ(CountIn(img, kBlue, x, x, 0, kBase - 3), 0) << x;
  EXPECT_EQ(At(img, 6, 200), kBlue);
  EXPECT_EQ(At(img, 50, 200), kBlue);

  s.CleanSpectrum = 0;
  EXPECT_EQ(At(Paint(), 0, 0), kBlue);  // the DC line clipped at the top
}

TEST_F(FftPainting, ZeroFundamentalDrawsOnTheBaseline) {
  r.spectrum.FFTre[40] = 0.0;
  s.FftEnvelope = 0;
  const QImage img = Paint();
  EXPECT_EQ(g.Graph.Scale, 0.0);
  EXPECT_EQ(CountIn(img, kBlue, 0, 799, 0, kBase - 3), 0);
  EXPECT_EQ(At(img, 400, kBase), kBlack);
}

}  // namespace
}  // namespace tz::test
