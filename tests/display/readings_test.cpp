// What the panels show: the readings of a click in each view, from a zoomed
// or scrolled start, and every figure with values that are not round, so
// that one decimal more or less shows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "display/marker_placement.h"
#include "display/marker_switches.h"
#include "display/panel_contents.h"
#include "display/plot_geometry.h"
#include "display/zoom_scroll.h"
#include "tests/display/display_fixture.h"
#include "ui/resource.h"

namespace tz::test {
namespace {

// The text a list of changes leaves in a control, or "" when none.
std::string TextOf(const ControlOps& ops, PanelId p, int id) {
  std::string text;
  for (const ControlOp& op : ops)
    if (op.panel == p && op.id == id && op.kind == ControlOp::SetText) text = op.text;
  return text;
}

class Readings : public DisplayFixture {
 protected:
  Readings() {
    FillSamples(10000, 0.0);
    for (int i = 1; i <= 10000; ++i) {
      r.samples.TprogrArr[i] = i * 0.0012347;
      r.samples.RPMfiltArr[i] = 1000.0 + i * 0.0123456;
      r.samples.RPMinstArr[i] = 2000.0 + i * 0.0123456;
      r.samples.TRQfiltArr[i] = 10.0 + i * 0.0012345;
      r.samples.POTfiltArr[i] = -5.0 - i * 0.0005678;
    }
    SetStatistics(100, -100);
    s.Markers[0].FftXOn = 0;
  }
  ControlOps Click(int x, int y) { return PlaceMarkers(s, UpdateGeometry(s, r, l), r, x, y, lines); }

  MarkerLines lines;
};

TEST_F(Readings, TimeXMarkerReadsTheSpeedOfTheCurveShown) {
  const struct {
    DisplayChoice show;
    bool inst;
  } views[] = {{DisplayChoice::ShowRpmInst, true},  {DisplayChoice::Show3RpmInst, true},
               {DisplayChoice::ShowRpmFilt, false}, {DisplayChoice::Show3RpmFilt, false},
               {DisplayChoice::ShowTorque, false},  {DisplayChoice::ShowPower, false}};
  for (const auto& v : views) {
    SCOPED_TRACE(static_cast<int>(v.show));
    s = DisplayState{};
    s.Markers[0].FftXOn = 0;
    Show(v.show);
    SwitchTimeXMarkers(s, true);
    // Column 100 at 13 samples a column: sample 1305.
    const ControlOps ops = Click(100, 10);
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTime), "1.611");  // 1.6112835
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXSpeed), v.inst ? "2016.11" : "1016.11");  // ...16.111
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTorque), "11.61");  // 11.6110225
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXPower), "-5.74");   // -5.740979
    const Marker& m = s.Markers[0];
    EXPECT_EQ(m.RpmInst, v.inst ? r.samples.RPMinstArr[1305] : 0.0);
    EXPECT_EQ(m.RpmFilt, v.inst ? 0.0 : r.samples.RPMfiltArr[1305]);
  }
}

TEST_F(Readings, ZoomedAndScrolledStartsMapColumnsFromTheStart) {
  Show(DisplayChoice::ShowRpmFilt);
  s.XZoomActive = 1;
  s.TimeStart = 4000, s.TimeEnd = 4200, s.TimeStep = 1;  // 200 samples: 4 pixels each
  SwitchTimeXMarkers(s, true);
  Click(101, 10);  // sample 101 / 4 + 5 + 4000
  EXPECT_EQ(s.TimePixStep, 4);
  EXPECT_EQ(s.Markers[0].Time, r.samples.TprogrArr[4030]);

  s.TimeStart = 3000, s.TimeEnd = 6000, s.TimeStep = 4;
  Click(101, 10);  // 4 x 101 + 5 + 3000
  EXPECT_EQ(s.Markers[0].Time, r.samples.TprogrArr[3409]);

  // FFT X marker 1 on lines 1000..2000 at 2 lines a column.
  Show(DisplayChoice::ShowFft);
  r.spectrum.FFT_N = 8192;
  for (int k = 0; k < 4096; ++k) r.spectrum.FFTfreq[k] = k * 0.25;
  s.FftStart = 1000, s.FftEnd = 2000, s.FftStep = 2;
  SwitchFftXMarker(s, 1, true);
  const ControlOps ops = Click(101, 10);
  EXPECT_EQ(s.Markers[0].Line, 1202.0);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Freq), "300.5");
  // A scroll moves the start the next click reads from.
  ScrollHorizontally(s, r, ScrollCode::PageRight);  // 330 lines
  Click(101, 10);
  EXPECT_EQ(s.Markers[0].Line, 1532.0);
}

TEST_F(Readings, FftYMarkersAndTheirVariation) {
  Show(DisplayChoice::ShowFft);
  r.spectrum.FFT_N = 8192;
  r.spectrum.FundLine = 40;
  r.spectrum.FFTre[40] = 4.32;  // 100 pixels a unit: 0.9 x 480 / 4.32
  r.spectrum.FFTre[0] = 0.5;    // the dB reference
  SwitchFftYMarker(s, 1, true);
  ControlOps ops = Click(300, 250);  // (480 - 250 - 21.6) / 100
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYM1Ampl), "2.08");
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYM1dB), "6.199");  // 10 log10(2.084 / 0.5)
  EXPECT_EQ(s.Markers[0].X, 300);
  SwitchFftYMarker(s, 2, true);
  ops = Click(310, 400);  // 0.584
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYM2Ampl), "0.58");
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYM2dB), "0.674");
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYVarAmpl), "1.5");
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYVardB), "5.525");  // 10 log10(2.084 / 0.584)
  EXPECT_EQ(lines.Get(MarkerLine::FftY1), 250);
  EXPECT_EQ(lines.Get(MarkerLine::FftY2), 400);
  EXPECT_EQ(s.Markers[1].X, 310);
  EXPECT_EQ(s.Markers[0].X, 300);
}

TEST_F(Readings, YMarkersReadTheirOwnBand) {
  Show(DisplayChoice::Show3RpmFilt);
  // Each band 0.6 pixels a unit; zero lines at rows 82, 218 and 420.
  const struct {
    PanelId panel;
    int field, row;
    const char* text;
  } bands[] = {{PanelId::Y1, res::kY1MarkerVal, 82 - 31, "51.67"},
               {PanelId::Y2, res::kY2MarkerVal, 218 + 7, "-11.67"},
               {PanelId::Y3, res::kY3MarkerVal, 420 - 100, "166.67"}};
  for (const auto& b : bands) {
    SwitchYMarker(s, b.panel, true);
    EXPECT_EQ(TextOf(Click(5, b.row), b.panel, b.field), b.text);
    EXPECT_EQ(s.PrevTimeY, b.row);
    EXPECT_EQ(lines.Get(MarkerLine::TimeY), b.row);
    EXPECT_EQ(s.Markers[0].Y, b.row);
  }
  EXPECT_NEAR(s.YMarkerValue[0], 31 / 0.6, 1e-9);
  EXPECT_NEAR(s.YMarkerValue[1], -7 / 0.6, 1e-9);
  EXPECT_NEAR(s.YMarkerValue[2], 100 / 0.6, 1e-9);
}

TEST_F(Readings, FftXMarkerFiguresWithTheirDecimals) {
  Show(DisplayChoice::ShowFft);
  r.spectrum.FFT_N = 8192;
  r.spectrum.FFTre[0] = 2.0;
  r.spectrum.FFTre[600] = 1.23456;
  r.spectrum.FFTfreq[600] = 74.70639;
  r.spectrum.FFTre[1200] = 0.345678;
  r.spectrum.FFTfreq[1200] = 149.41278;
  SwitchFftXMarker(s, 1, true);
  ControlOps ops = Click(100, 10);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Line), "600");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Freq), "74.71");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Ampl), "1.23");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1dB), "-2.095");  // 10 log10(1.23456 / 2)
  SwitchFftXMarker(s, 2, true);
  ops = Click(200, 10);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM2Line), "1200");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM2Freq), "149.41");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM2Ampl), "0.35");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM2dB), "-7.624");  // 10 log10(0.345678 / 2)
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarLines), "600");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarFreq), "-74.71");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarAmpl), "0.89");  // 0.888882
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVardB), "5.528");
}

TEST_F(Readings, PanelFiguresWithTheirDecimals) {
  r.stats.RPMfiltMax = 3023.66, r.stats.RPMfiltMin = 2974.14;
  r.stats.POTfiltMax = 82.25, r.stats.POTfiltMin = 42.149;
  r.stats.TRQfiltMax = 259.84, r.stats.TRQfiltMin = 135.05;
  s.ZoomRpm = 123.4567, s.ZoomTorque = 99.99951, s.ZoomPower = 50.0004, s.ZoomFft = 0.1236;
  Show(DisplayChoice::Show3RpmFilt);
  const struct {
    PanelId panel;
    int id;
    const char* text;
  } three[] = {{PanelId::Y1, res::kY1Zoom, "123.457"}, {PanelId::Y1, res::kY1Max, "3023.7"},
               {PanelId::Y1, res::kY1Min, "2974.1"},   {PanelId::Y2, res::kY2Zoom, "100"},
               {PanelId::Y2, res::kY2Max, "259.8"},    {PanelId::Y2, res::kY2Min, "135.1"},
               {PanelId::Y3, res::kY3Zoom, "50"},      {PanelId::Y3, res::kY3Max, "82.3"},
               {PanelId::Y3, res::kY3Min, "42.1"}};
  for (const auto& f : three) EXPECT_EQ(TextOf(FillPanel(f.panel, s, r), f.panel, f.id), f.text) << f.id;
  // Beside a single graph Y2 and Y3 write their zoom only.
  Show(DisplayChoice::ShowPower);
  EXPECT_EQ(TextOf(FillPanel(PanelId::Y1, s, r), PanelId::Y1, res::kY1Max), "82.3");
  EXPECT_EQ(TextOf(FillPanel(PanelId::Y1, s, r), PanelId::Y1, res::kY1Zoom), "50");
  const ControlOps y3 = FillPanel(PanelId::Y3, s, r);
  EXPECT_EQ(y3.size(), 1u);
  EXPECT_EQ(TextOf(y3, PanelId::Y3, res::kY3Zoom), "50");
  EXPECT_EQ(TextOf(FillPanel(PanelId::Y2, s, r), PanelId::Y2, res::kY2Zoom), "100");
  EXPECT_EQ(FillPanel(PanelId::Y2, s, r).size(), 1u);

  Show(DisplayChoice::ShowFft);
  r.spectrum.TotalEnergy = 12.345678;
  r.spectrum.FFTre[0] = -0.123456;
  r.spectrum.FloorLevel = 1.23456;
  r.spectrum.EvenSymErrRe = 2.00005;
  r.spectrum.OddSymErrIm = 0.99995;
  r.stats.Fc = 1234.5678;
  r.spectrum.FFT_N = 8192;
  const ControlOps fy = FillPanel(PanelId::FftY, s, r);
  const struct {
    int id;
    const char* text;
  } figures[] = {{res::kFftYZoom, "0.124"},        {res::kFftYTotalEnergy, "12.3457"},
                 {res::kFftYDcValue, "-0.1235"},   {res::kFftYFloor, "1.2346"},
                 {res::kFftYEvenSymErr, "2.0001"}, {res::kFftYOddSymErr, "1"}};
  for (const auto& f : figures) EXPECT_EQ(TextOf(fy, PanelId::FftY, f.id), f.text) << f.id;
  const ControlOps fx = FillPanel(PanelId::FftX, s, r);
  EXPECT_EQ(TextOf(fx, PanelId::FftX, res::kFftXFc), "1234.57");
  EXPECT_EQ(TextOf(fx, PanelId::FftX, res::kFftXCount), "8192");
  // The FFT panels have nothing to show beside the time graphs.
  Show(DisplayChoice::ShowTorque);
  EXPECT_TRUE(FillPanel(PanelId::FftY, s, r).empty());
  EXPECT_TRUE(FillPanel(PanelId::FftX, s, r).empty());
}

}  // namespace
}  // namespace tz::test
