// Orders, the visible data's CSV text, fitting the time graphs to their
// visible samples, the rulers' ticks and the readouts' text: rules without
// a window.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "display/fit_range.h"
#include "display/format_decimals.h"
#include "display/marker_lines.h"
#include "display/marker_placement.h"
#include "display/orders.h"
#include "display/plot_geometry.h"
#include "display/plot_math.h"
#include "display/readouts.h"
#include "display/rulers.h"
#include "display/visible_data.h"
#include "tests/display/display_fixture.h"
#include "ui/resource.h"

namespace tz::test {
namespace {

std::string TextOf(const ControlOps& ops, PanelId p, int id) {
  std::string text = "(none)";
  for (const ControlOp& op : ops)
    if (op.panel == p && op.id == id && op.kind == ControlOp::SetText) text = op.text;
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

using Scales = DisplayFixture;

// ---- Orders ----

TEST_F(Scales, OrderOfALineCountsRevolutionsPerFftLength) {
  r.params.N_SLOT = 60;
  r.spectrum.FFT_N = 32768;
  // The demo's fundamental: line 1094 is the shaft's second order, a little fast.
  EXPECT_EQ(FormatDecimals(OrderOfLine(1094, r), 3), "2.003");
  EXPECT_DOUBLE_EQ(OrderOfLine(32768 / 60.0, r), 1.0);
  EXPECT_DOUBLE_EQ(OrderOfLine(-546, r), -546 * 60.0 / 32768);
  r.spectrum.FFT_N = 0;  // no spectrum: no division
  EXPECT_EQ(OrderOfLine(1094, r), 0.0);
}

TEST_F(Scales, FftXMarkersShowTheirOrdersAndTheirDifference) {
  r.counters.ProgrCount = 70000;
  r.params.N_SLOT = 60;
  r.spectrum.FFT_N = 32768;
  r.stats.Fc = 32768.0;
  for (int k = 0; k < 16384; ++k) r.spectrum.FFTfreq[k] = k * 1.0;
  s.Show = DisplayChoice::ShowFft;
  s.XZoomActive = 1, s.FftStart = 1000, s.FftEnd = 1800, s.FftStep = 1;
  s.TimeStart = 0, s.TimeEnd = 70000, s.TimeStep = 88;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  MarkerLines lines;
  ControlOps ops = PlaceMarkers(s, g, r, 94, 50, lines);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Line), "1094");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Order), "2.003");
  s.Markers[0].FftXOn = 0, s.Markers[1].FftXOn = 1;
  ops = PlaceMarkers(s, g, r, 640, 50, lines);  // line 1640: order 3.003
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM2Order), "3.003");
  // 546 lines between them: one order.
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarOrder), "1");
}

// ---- Visible data ----

TEST_F(Scales, CsvOfTheTimeGraphsHasOneRowPerVisibleSample) {
  FillSamples(2000, 0.0);
  for (int i = 1; i <= 2000; ++i) {
    r.samples.RPMfiltArr[i] = 3000 + i * 0.125;
    r.samples.RPMinstArr[i] = -1;  // not shown
    r.samples.TRQfiltArr[i] = i / 3.0;
    r.samples.POTfiltArr[i] = -i * 1e-7;
  }
  Show(DisplayChoice::Show3RpmFilt);
  s.XZoomActive = 1, s.TimeStart = 100, s.TimeEnd = 110, s.TimeStep = 1;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  const std::vector<std::string> rows = Lines(VisibleDataCsv(s, g, r));
  ASSERT_EQ(rows.size(), 1u + 5u);  // Progr 105 (100 + MovAvgLen) to 109
  EXPECT_EQ(rows[0], "time (s),speed filtered (RPM),torque (Nm),power (kW)");
  EXPECT_EQ(rows[1], "0.105,3013.125,35.,-1.05e-005");
  EXPECT_EQ(rows[5], "0.109,3013.625,36.33333333,-1.09e-005");

  Show(DisplayChoice::ShowRpmInst);
  const std::vector<std::string> single = Lines(VisibleDataCsv(s, UpdateGeometry(s, r, l), r));
  EXPECT_EQ(single[0], "time (s),speed unfiltered (RPM)");
  EXPECT_EQ(single[1], "0.105,-1.");
  // Without samples: the header alone.
  r.counters.ProgrCount = 0;
  EXPECT_EQ(VisibleDataCsv(s, GeometryOf(s, r, l), r), "time (s),speed unfiltered (RPM)\n");
}

TEST_F(Scales, CsvOfTheFftGraphHasOneRowPerVisibleLine) {
  r.counters.ProgrCount = 5000;
  r.params.N_SLOT = 60;
  r.spectrum.FFT_N = 4096;
  for (int k = 0; k < 2048; ++k) r.spectrum.FFTfreq[k] = k * 0.5;
  r.spectrum.FFTre[0] = 10.0;
  r.spectrum.FFTre[201] = 1.0;
  r.spectrum.FFTim[202] = -100.0;
  Show(DisplayChoice::ShowFft);
  s.XZoomActive = 1, s.FftStart = 200, s.FftEnd = 204, s.FftStep = 1;
  s.TimeStart = 0, s.TimeEnd = 5000, s.TimeStep = 7;
  const std::string text = VisibleDataCsv(s, UpdateGeometry(s, r, l), r);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(Lines(text), (std::vector<std::string>{
                             "line,frequency (Hz),order,magnitude,level (dB to DC)",
                             "200,100.,2.9296875,0.,-inf",
                             "201,100.5,2.944335938,1.,-10.",
                             "202,101.,2.958984375,100.,10.",
                             "203,101.5,2.973632812,0.,-inf",
                         }));

  // Over a DC line of 0, a line above 0 is infinitely higher.
  r.spectrum.FFTre[0] = 0.0;
  EXPECT_EQ(Lines(VisibleDataCsv(s, UpdateGeometry(s, r, l), r))[3], "202,101.,2.958984375,100.,inf");
  r.spectrum.FFTre[0] = 10.0;

  // The rows hold what the graph draws: with the spectrum shown clean, the
  // DC slope and the lines at or under the floor are 0; with the picked
  // peaks shown, their magnitudes.
  s.CleanSpectrum = 1;
  r.spectrum.DCEndLine = 200;
  r.spectrum.FloorLevel = 1.0;
  r.spectrum.FFTre[200] = 5.0;
  std::vector<std::string> rows = Lines(VisibleDataCsv(s, UpdateGeometry(s, r, l), r));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1], "200,100.,2.9296875,0.,-inf");
  EXPECT_EQ(rows[2], "201,100.5,2.944335938,0.,-inf");
  EXPECT_EQ(rows[3], "202,101.,2.958984375,100.,10.");
  s.CleanSpectrum = 0;
  s.ShowHarmonicPeaks = 1;
  r.spectrum.SpecLines[202].mag = 1000.0;
  rows = Lines(VisibleDataCsv(s, UpdateGeometry(s, r, l), r));
  EXPECT_EQ(rows[2], "201,100.5,2.944335938,0.,-inf");
  EXPECT_EQ(rows[3], "202,101.,2.958984375,1000.,20.");
}

// A zoom whose step leaves more samples (or lines) than the plot has
// columns: the curve stops at the plot's right edge, and so do the rows.
TEST_F(Scales, CsvRowsStopAtThePlotsLastColumn) {
  FillSamples(10000, 1.0);
  Show(DisplayChoice::Show3RpmFilt);
  s.XZoomActive = 1, s.TimeStart = 100, s.TimeEnd = 10000, s.TimeStep = 10;
  std::vector<std::string> rows = Lines(VisibleDataCsv(s, UpdateGeometry(s, r, l), r));
  // 800 columns of 10 samples from Progr 105: Progr 105 to 8104.
  ASSERT_EQ(rows.size(), 1u + 8000u);
  EXPECT_EQ(rows[1], "0.105,1.,1.,1.");
  EXPECT_EQ(rows.back(), "8.104,1.,1.,1.");

  r.params.N_SLOT = 60;
  r.spectrum.FFT_N = 8192;
  Show(DisplayChoice::ShowFft);
  s.FftStart = 0, s.FftEnd = 4096, s.FftStep = 2;
  rows = Lines(VisibleDataCsv(s, UpdateGeometry(s, r, l), r));
  ASSERT_EQ(rows.size(), 1u + 1600u);  // 800 columns of 2 lines
  EXPECT_EQ(rows.back().substr(0, 5), "1599,");
}

// ---- Fitting the time graphs to the data ----

TEST(FitRange, MarginsAroundTheVisibleRange) {
  struct Case {
    PlotGeometry::Range in, out;
  };
  for (const Case& c : std::vector<Case>{{{2975, 3025}, {2972.5, 3027.5}},
                                         {{-2, 2}, {-2.2, 2.2}},
                                         {{5, 5}, {4.95, 5.05}},
                                         {{-5, -5}, {-5.05, -4.95}},
                                         {{0, 0}, {-1, 1}}}) {
    const PlotGeometry::Range m = WithMargin(c.in);
    EXPECT_DOUBLE_EQ(m.min, c.out.min) << c.in.min;
    EXPECT_DOUBLE_EQ(m.max, c.out.max) << c.in.max;
  }
  const double values[] = {1, NAN, -3, INFINITY, 7, 100};
  PlotGeometry::Range range;
  ASSERT_TRUE(VisibleRange(values, 0, 5, &range));  // 100 is past the end
  EXPECT_EQ(range, (PlotGeometry::Range{-3, 7}));
  EXPECT_FALSE(VisibleRange(values, 1, 2, &range));  // nothing finite
}

TEST_F(Scales, FittedBandsSpanTheirVisibleSamples) {
  FillSamples(4000, 0.0);
  for (int i = 1; i <= 4000; ++i) {
    r.samples.RPMfiltArr[i] = 3000 + 25 * std::sin(i * 0.01);
    r.samples.TRQfiltArr[i] = 100 + (i % 7);
    r.samples.POTfiltArr[i] = 31.4;  // flat
  }
  r.samples.RPMfiltArr[3900] = 9000;  // outside the zoom below
  SetStatistics(9000, 0);
  Show(DisplayChoice::Show3RpmFilt);
  s.XZoomActive = 1, s.TimeStart = 0, s.TimeEnd = 3000, s.TimeStep = 4;
  const double H = l.PlotHeight;

  // Unfitted, 50 RPM of a 9000 RPM range are under two rows.
  PlotGeometry g = UpdateGeometry(s, r, l);
  const auto rows = [&](const VerticalScale& v, double a, double b) {
    return std::abs(ValueToY(a, v.Scale, v.Offset, v.Base, H, 0) -
                    ValueToY(b, v.Scale, v.Offset, v.Base, H, 0));
  };
  EXPECT_LE(rows(g.Bands[0], 2975, 3025), 2);
  EXPECT_FALSE(g.Fitted);

  s.FitToData = 1;
  g = UpdateGeometry(s, r, l);
  ASSERT_TRUE(g.Fitted);
  const PlotGeometry::Range rpm = g.FittedRanges[0];
  EXPECT_NEAR(rpm.max, 3025, 0.01);
  EXPECT_NEAR(rpm.min, 2975, 0.01);
  // The margin'd range fills the band, a quarter of H above its base.
  const VerticalScale& b = g.Bands[0];
  const PlotGeometry::Range m = WithMargin(rpm);
  EXPECT_NEAR(b.Scale * m.min + b.Offset, 0.0, 1e-6);
  EXPECT_NEAR(b.Scale * m.max + b.Offset, 0.25 * H, 1e-6);
  EXPECT_GE(rows(b, rpm.min, rpm.max), static_cast<int>(0.25 * H / 1.1) - 1);
  EXPECT_EQ(b.Base, 0.6 * H + 50.0);
  EXPECT_EQ(g.FittedRanges[1], (PlotGeometry::Range{100, 106}));
  EXPECT_EQ(g.FittedRanges[2], (PlotGeometry::Range{31.4, 31.4}));
  EXPECT_GT(g.Bands[2].Scale, 0.0);  // a flat curve stands in its band's middle
  EXPECT_NEAR(g.Bands[2].Scale * 31.4 + g.Bands[2].Offset, 0.125 * H, 1e-6);

  // A Y marker reads by the same scale; the panels show the fitted range.
  const int y = ValueToY(3010.0, b.Scale, b.Offset, b.Base, H, 0);
  EXPECT_NEAR(ValueAtRow(H, y, b.Scale, b.Offset, b.Base), 3010.0, 1.0 / b.Scale);
  const ControlOps ops = FittedReadouts(s, g);
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Max), FormatDecimals(rpm.max, 1));
  EXPECT_EQ(TextOf(ops, PanelId::Y2, res::kY2Min), "100");
  EXPECT_EQ(TextOf(ops, PanelId::Y3, res::kY3Max), "31.4");

  // A zoom of 200 % doubles the scale about the band's middle; 0 lays it flat.
  s.ZoomRpm = 200;
  const VerticalScale z = UpdateGeometry(s, r, l).Bands[0];
  EXPECT_DOUBLE_EQ(z.Scale, 2 * b.Scale);
  const double middle = (m.min + m.max) / 2;
  EXPECT_NEAR(z.Scale * middle + z.Offset, b.Scale * middle + b.Offset, 1e-6);
  s.ZoomRpm = 0;
  EXPECT_EQ(UpdateGeometry(s, r, l).Bands[0].Scale, 0.0);

  // A spike past the plot's last column is not seen, nor fitted to.
  s.TimeStart = 0, s.TimeEnd = 4000, s.TimeStep = 4;
  EXPECT_NEAR(UpdateGeometry(s, r, l).FittedRanges[0].max, 3025, 0.01);  // Progr 5 to 3204

  // Scrolled over the spike, the range follows.
  s.ZoomRpm = 100;
  s.TimeStart = 3800, s.TimeEnd = 4000;
  EXPECT_EQ(UpdateGeometry(s, r, l).FittedRanges[0].max, 9000);
}

// A curve with no finite sample in view keeps its scale, and its panel its
// Maximum and Minimum: no fitted range of 0 to 0 is shown for it.
TEST_F(Scales, ACurveWithoutFiniteSamplesIsNotFitted) {
  FillSamples(1000, 5.0);
  for (int i = 1; i <= 1000; ++i) r.samples.POTfiltArr[i] = i % 2 ? NAN : INFINITY;
  SetStatistics(10, -10);
  Show(DisplayChoice::Show3RpmFilt);
  const VerticalScale power = UpdateGeometry(s, r, l).Bands[2];
  s.FitToData = 1;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  ASSERT_TRUE(g.Fitted);
  EXPECT_EQ(g.Bands[2], power);
  const ControlOps ops = FittedReadouts(s, g);
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Max), "5");
  EXPECT_EQ(TextOf(ops, PanelId::Y3, res::kY3Max), "(none)");
  EXPECT_EQ(TextOf(ops, PanelId::Y3, res::kY3Min), "(none)");
}

TEST_F(Scales, FittedSingleGraphSpansFourFifthsOfTheHeight) {
  FillSamples(1000, 0.0);
  for (int i = 1; i <= 1000; ++i) r.samples.TRQfiltArr[i] = (i % 2) ? 10.0 : 20.0;
  SetStatistics(1000, -1000);
  Show(DisplayChoice::ShowTorque);
  s.FitToData = 1;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  const double H = l.PlotHeight;
  EXPECT_NEAR(g.Graph.Scale * 9.5 + g.Graph.Offset, 0.1 * H, 1e-6);
  EXPECT_NEAR(g.Graph.Scale * 20.5 + g.Graph.Offset, 0.9 * H, 1e-6);
  const ControlOps ops = FittedReadouts(s, g);
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Max), "20");
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Min), "10");
  EXPECT_EQ(TextOf(ops, PanelId::Y2, res::kY2Max), "(none)");
  // The FFT graph is never fitted.
  Show(DisplayChoice::ShowFft);
  EXPECT_FALSE(UpdateGeometry(s, r, l).Fitted);
}

// ---- Rulers ----

TEST(Rulers, RoundStepsAreOneTwoOrFiveTimesAPowerOfTen) {
  const std::pair<double, double> cases[] = {{0.3, 0.5},     {1.0, 1.0},  {1.1, 2.0},
                                             {2.5, 5.0},     {7.0, 10.0}, {0.0012, 0.002},
                                             {4321.0, 5000}, {0.0, 0.0},  {-1.0, 0.0}};
  for (const auto& [span, step] : cases) EXPECT_DOUBLE_EQ(RoundStep(span), step) << span;
}

TEST(Rulers, LinearTicksStandOnRoundValuesInsideTheirPixels) {
  // 0.01 a pixel; 50 pixels apart at least: a step of 0.5 every 50 pixels.
  const std::vector<Tick> ticks = LinearTicks(0.0, 0.01, 1, 398, 50);
  std::vector<int> pos;
  std::vector<std::string> labels;
  for (const Tick& t : ticks) pos.push_back(t.pos), labels.push_back(t.label);
  EXPECT_EQ(pos, (std::vector<int>{50, 100, 150, 200, 250, 300, 350}));
  EXPECT_EQ(labels, (std::vector<std::string>{"0.5", "1", "1.5", "2", "2.5", "3", "3.5"}));
  // Rows downward: values fall; 0 at row 0 and 4 at 400 stay off the ends.
  const std::vector<Tick> up = LinearTicks(4.0, -0.01, 1, 399, 100);
  ASSERT_EQ(up.size(), 3u);
  EXPECT_EQ(up[0], (Tick{100, 3.0, "3"}));
  EXPECT_EQ(up[2], (Tick{300, 1.0, "1"}));
  EXPECT_TRUE(LinearTicks(0, 0, 1, 100, 10).empty());
  EXPECT_TRUE(LinearTicks(0, NAN, 1, 100, 10).empty());
}

TEST_F(Scales, TimeTicksFollowTheSamplesTimes) {
  FillSamples(8000, 0.0);  // Tprogr = Progr / 1000
  Show(DisplayChoice::ShowRpmFilt);
  const PlotGeometry g = UpdateGeometry(s, r, l);  // 8000 / 800 + 1 = 11 samples a column
  ASSERT_EQ(g.TimeStep, 11);
  const int last = LastTimeColumn(g);
  EXPECT_EQ(last, (7995 + 10) / 11 - 1);  // Progr 5 .. 7999
  const std::vector<Tick> ticks = TimeTicks(g, r, 80);
  ASSERT_FALSE(ticks.empty());
  for (const Tick& t : ticks) {
    EXPECT_GT(t.pos, 0);
    EXPECT_LT(t.pos, last);
    // The first column whose sample reaches the round time.
    EXPECT_GE(r.samples.TprogrArr[SampleAtColumn(g, r, t.pos)], t.value);
    EXPECT_LT(r.samples.TprogrArr[SampleAtColumn(g, r, t.pos - 1)], t.value);
  }
  // 80 pixels are 0.88 s: a step of 1 s.
  EXPECT_EQ(ticks.front().label, "1");
  EXPECT_EQ(ticks.size(), 7u);  // 1 .. 7 s
  // A time that is no number gets no tick, and takes none from the others.
  for (int i = 2000; i < 2100; ++i) r.samples.TprogrArr[i] = NAN;
  const std::vector<Tick> holed = TimeTicks(g, r, 80);
  EXPECT_EQ(holed.size(), 7u);
  for (const Tick& t : holed) EXPECT_TRUE(std::isfinite(t.value)) << t.label;
}

// A zoom whose range runs past the plot's right edge: the curves' last
// column is the plot's last, and no tick stands on it.
TEST_F(Scales, RulersOfARangeWiderThanThePlotKeepOffItsLastColumn) {
  FillSamples(10000, 0.0);
  r.params.N_SLOT = 60;
  r.spectrum.FFT_N = 8192;
  r.stats.Fc = 1000.0;
  Show(DisplayChoice::ShowRpmFilt);
  s.XZoomActive = 1, s.TimeStart = 100, s.TimeEnd = 10000, s.TimeStep = 10;
  s.FftStart = 0, s.FftEnd = 4096, s.FftStep = 2;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  EXPECT_EQ(LastTimeColumn(g), 799);
  EXPECT_EQ(LastFftColumn(g), 799);
  for (const Tick& t : TimeTicks(g, r, 1)) EXPECT_LT(t.pos, 799) << t.label;
  for (const Tick& t : FrequencyTicks(g, r, 1)) EXPECT_LT(t.pos, 799) << t.label;
}

TEST_F(Scales, FrequencyAndOrderTicksOfTheFftGraph) {
  r.counters.ProgrCount = 5000;
  r.params.N_SLOT = 60;
  r.spectrum.FFT_N = 4096;
  r.stats.Fc = 4096.0;  // 1 Hz a line
  Show(DisplayChoice::ShowFft);
  s.XZoomActive = 1, s.FftStart = 0, s.FftEnd = 800, s.FftStep = 1;
  s.TimeStart = 0, s.TimeEnd = 5000, s.TimeStep = 7;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  const std::vector<Tick> hz = FrequencyTicks(g, r, 90);
  ASSERT_EQ(hz.size(), 7u);
  EXPECT_EQ(hz[0], (Tick{100, 100.0, "100"}));
  EXPECT_EQ(hz[6], (Tick{700, 700.0, "700"}));
  // An order is 4096 / 60 = 68.27 lines; 90 pixels are 1.32 orders: steps of 2.
  const std::vector<Tick> orders = OrderTicks(g, r, 90);
  ASSERT_FALSE(orders.empty());
  EXPECT_EQ(orders[0], (Tick{137, 2.0, "2"}));  // 2 x 4096 / 60 = 136.5
  EXPECT_EQ(orders.back().value, 10.0);
}

TEST_F(Scales, ValueRulersOfTheBandsKeepToTheirShares) {
  FillSamples(1000, 50.0);
  SetStatistics(100, 0);
  Show(DisplayChoice::Show3RpmFilt);
  const PlotGeometry g = UpdateGeometry(s, r, l);
  const std::vector<ValueRuler> rulers = ValueRulers(s, g);
  ASSERT_EQ(rulers.size(), 3u);
  EXPECT_EQ(rulers[0].top, 0);
  EXPECT_EQ(rulers[0].bottom, rulers[1].top);
  EXPECT_EQ(rulers[1].bottom, rulers[2].top);
  EXPECT_EQ(rulers[2].bottom, 480);
  EXPECT_STREQ(rulers[1].unit, "Nm");
  for (const ValueRuler& ruler : rulers) {
    for (const Tick& t : ValueTicks(g, ruler, 30, 6)) {
      EXPECT_GE(t.pos, ruler.top + 6);
      EXPECT_LE(t.pos, ruler.bottom - 6);
      const VerticalScale& v = ruler.scale;
      EXPECT_NEAR(ValueAtRow(480, t.pos, v.Scale, v.Offset, v.Base), t.value, 1 / v.Scale);
    }
  }
}

// ---- Readouts ----

TEST(Readouts, LabelValueAndUnitOfEveryFieldWithText) {
  DisplayState s;
  s.Show = DisplayChoice::ShowFft;
  const auto textOf = [](PanelId p, int id) -> std::string {
    if (p == PanelId::FftX && id == res::kFftXFc) return "2520.5";
    if (p == PanelId::FftX && id == res::kFftXM1Order) return "2.003";
    if (p == PanelId::FftY && id == res::kFftYM1dB) return "-3.5";
    if (p == PanelId::FftY && id == res::kFftYTitle) return "Y axis: TRQ";
    return "";
  };
  EXPECT_EQ(ReadoutText(ReadoutsOf(s), textOf),
            "Y axis\tY axis: TRQ\t\n"
            "Y axis Marker 1 Ampl.\t-3.5\tdB\n"
            "Sampling frequency\t2520.5\tHz\n"
            "X axis Marker 1 Order\t2.003\t\n");
  // The three graphs: each band's fields with its name and unit, then the X panel's.
  s.Show = DisplayChoice::Show3RpmInst;
  const auto all = [](PanelId, int id) { return std::to_string(id); };
  const std::vector<std::string> lines = Lines(ReadoutText(ReadoutsOf(s), all));
  ASSERT_EQ(lines.size(), 3u * 5u + 4u);
  EXPECT_EQ(lines[3], "RPMinst Maximum\t" + std::to_string(res::kY1Max) + "\tRPM");
  EXPECT_EQ(lines[9], "TORQUE Minimum\t" + std::to_string(res::kY2Min) + "\tNm");
  EXPECT_EQ(lines[13], "POWER Maximum\t" + std::to_string(res::kY3Max) + "\tkW");
  EXPECT_EQ(lines[15], "Time\t" + std::to_string(res::kXTime) + "\tSec.");
  s.Show = DisplayChoice::ShowPower;
  EXPECT_EQ(Lines(ReadoutText(ReadoutsOf(s), all))[2],
            "POWER Marker val.\t" + std::to_string(res::kY1MarkerVal) + "\tkW");
}

}  // namespace
}  // namespace tz::test
