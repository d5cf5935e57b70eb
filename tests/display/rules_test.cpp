// The rules of the markers, the X zoom and scroll and the panels, without a
// window: what a click reads, what a switch turns off, what a zoom shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/marker_placement.h"
#include "display/marker_switches.h"
#include "display/panel_contents.h"
#include "display/plot_geometry.h"
#include "display/plot_math.h"
#include "display/zoom_scroll.h"
#include "tests/display/display_fixture.h"
#include "ui/resource.h"

namespace tz::test {
namespace {

using Markers = DisplayFixture;

// The text a list of changes leaves in a control, or "" when none.
std::string TextOf(const ControlOps& ops, PanelId p, int id) {
  std::string text;
  for (const ControlOp& op : ops)
    if (op.panel == p && op.id == id && op.kind == ControlOp::SetText) text = op.text;
  return text;
}
// The last enable/disable or check/uncheck of a control.
bool Has(const ControlOps& ops, PanelId p, int id, ControlOp::Kind kind) {
  for (auto it = ops.rbegin(); it != ops.rend(); ++it) {
    if (it->panel != p || it->id != id || it->kind == ControlOp::SetText) continue;
    const bool enableKind = it->kind == ControlOp::Enable || it->kind == ControlOp::Disable;
    const bool wantEnableKind = kind == ControlOp::Enable || kind == ControlOp::Disable;
    if (enableKind == wantEnableKind) return it->kind == kind;
  }
  return false;
}

TEST_F(Markers, XZoomBetweenTheMarkers) {
  r.counters.ProgrCount = 16000;
  r.spectrum.FFT_N = 8192;
  ComputeRanges(s, r, l);
  ASSERT_EQ(s.TimeStep, 21);
  s.Markers[0].X = 200, s.Markers[1].X = 600;
  const XZoomResult z = XZoom(s, l);
  EXPECT_FALSE(z.message);
  ASSERT_TRUE(z.zoomed);
  EXPECT_EQ(s.TimeStep, 10);
  EXPECT_EQ(s.TimeStart, 4200);
  EXPECT_EQ(s.TimeEnd, 12600);
  EXPECT_EQ(s.FftStep, 3);  // 6 x 400 / 800
  EXPECT_EQ(s.FftStart, 1200);
  EXPECT_EQ(s.FftEnd, 3600);
  ComputeRanges(s, r, l);  // the paint keeps the zoom
  ZoomBasesFromRanges(s);
  EXPECT_EQ(s.TimeStart, 4200);
  EXPECT_EQ(s.ZoomBaseTime, 4200);

  // A second zoom maps the markers from the first one's start.
  s.Markers[0].X = 100, s.Markers[1].X = 500;
  XZoom(s, l);
  EXPECT_EQ(s.TimeStart, 4200 + 10 * 100);
  EXPECT_EQ(s.TimeEnd, 4200 + 10 * 500);
  EXPECT_EQ(s.TimeStep, 5);

  XRestore(s, r);
  EXPECT_EQ(s.XZoomActive, 0);
  EXPECT_EQ(s.Markers[0].X, 0);
  EXPECT_EQ(s.Markers[1].X, 0);
  EXPECT_EQ(s.TimeEnd, 16000);
  EXPECT_EQ(s.FftEnd, 4096);
}

TEST_F(Markers, XZoomMessagesAndRefusals) {
  r.counters.ProgrCount = 16000;
  ComputeRanges(s, r, l);
  const DisplayState before = s;
  struct Case {
    int m1, m2;
    const char* message;
    bool zoomed;
  };
  for (const Case& c : {Case{0, 0, "Marker1 and Marker2 not set", false},
                        Case{100, 0, "Marker2 not set", false},
                        Case{600, 200, "Marker1 greater than Marker2", false},
                        Case{300, 300, nullptr, false}}) {
    SCOPED_TRACE(c.m1 * 1000 + c.m2);
    s = before;
    s.Markers[0].X = c.m1, s.Markers[1].X = c.m2;
    const XZoomResult z = XZoom(s, l);
    EXPECT_EQ(z.message.value_or(""), c.message ? c.message : "");
    EXPECT_EQ(z.zoomed, c.zoomed);
    EXPECT_EQ(s.XZoomActive, 1);  // a following run keeps the old ranges
    EXPECT_EQ(s.TimeStart, before.TimeStart);
    EXPECT_EQ(s.TimeEnd, before.TimeEnd);
    EXPECT_EQ(s.TimeStep, before.TimeStep);
  }
  // Marker 1 unset, marker 2 set: the zoom runs from column 0.
  s = before;
  s.Markers[0].X = 0, s.Markers[1].X = 400;
  const XZoomResult z = XZoom(s, l);
  EXPECT_FALSE(z.message);
  EXPECT_TRUE(z.zoomed);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 21 * 400);
}

TEST_F(Markers, HorizontalScrollMovesBothRangesWithinTheData) {
  r.counters.ProgrCount = 16000;
  r.spectrum.FFT_N = 8192;
  s.XZoomActive = 1;
  s.Show = DisplayChoice::ShowRpmFilt;
  s.TimeStart = 5000, s.TimeEnd = 6000;
  s.FftStart = 1000, s.FftEnd = 2000;
  // 100 x (500 + 5030) / 16000
  EXPECT_EQ(ScrollHorizontally(s, r, ScrollCode::LineRight).value(), 34);
  EXPECT_EQ(s.TimeStart, 5030);
  EXPECT_EQ(s.TimeEnd, 6030);
  EXPECT_EQ(s.FftStart, 1030);
  ScrollHorizontally(s, r, ScrollCode::PageRight);
  EXPECT_EQ(s.TimeStart, 5360);
  ScrollHorizontally(s, r, ScrollCode::LineLeft);
  EXPECT_EQ(s.TimeStart, 5330);
  ScrollHorizontally(s, r, ScrollCode::PageLeft);
  EXPECT_EQ(s.TimeStart, 5000);
  // Codes other than the four move nothing.
  EXPECT_FALSE(ScrollHorizontally(s, r, static_cast<ScrollCode>(5)));
  EXPECT_EQ(s.TimeStart, 5000);

  // At the ends the span is kept against the limit.
  s.TimeStart = 15500, s.TimeEnd = 15900;
  ScrollHorizontally(s, r, ScrollCode::PageRight);
  EXPECT_EQ(s.TimeEnd, 16000);
  EXPECT_EQ(s.TimeStart, 15600);
  s.TimeStart = 10, s.TimeEnd = 410;
  ScrollHorizontally(s, r, ScrollCode::PageLeft);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 400);

  // The FFT graph positions the bar by the spectrum.
  s.Show = DisplayChoice::ShowFft;
  s.FftStart = 1000, s.FftEnd = 2000;
  // 100 x (500 + 1030) / 4096
  EXPECT_EQ(ScrollHorizontally(s, r, ScrollCode::LineRight).value(), 37);
}

TEST_F(Markers, FftXMarkersReadTheLineUnderTheClick) {
  r.counters.ProgrCount = 10000;
  r.spectrum.FFT_N = 8192;
  r.stats.Fc = 8192.0;
  for (int k = 0; k < 4096; ++k) r.spectrum.FFTfreq[k] = k * 1.0;
  r.spectrum.FFTre[0] = 10.0;
  r.spectrum.FFTre[600] = 1.0;
  r.spectrum.FFTre[1200] = 100.0;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  MarkerLines lines;
  ASSERT_EQ(s.Markers[0].FftXOn, 1);  // on when the program starts
  ControlOps ops = PlaceMarkers(s, g, r, 100, 50, lines);
  EXPECT_EQ(s.Markers[0].X, 100);
  EXPECT_EQ(lines.Get(MarkerLine::FftX1), 100);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Line), "600");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Freq), "600");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Ampl), "1");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1dB), "-10");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarLines), "-600");

  SwitchFftXMarker(s, 2, true);
  EXPECT_EQ(s.Markers[0].FftXOn, 0);
  ops = PlaceMarkers(s, g, r, 200, 50, lines);
  EXPECT_EQ(s.Markers[1].X, 200);
  EXPECT_EQ(s.Markers[0].X, 100);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM2dB), "10");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarLines), "600");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVarAmpl), "-99");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXVardB), "-20");
  // A click right of the spectrum reads the last line.
  PlaceMarkers(s, g, r, 2000, 50, lines);
  EXPECT_EQ(s.Markers[1].Line, 4095);

  // An FFT Y marker 2 is a marker-2 kind: it moves marker 2 for a zoom.
  SwitchFftYMarker(s, 2, true);
  PlaceMarkers(s, g, r, 321, 77, lines);
  EXPECT_EQ(s.Markers[1].X, 321);
  EXPECT_EQ(s.Markers[1].Y, 77);
  EXPECT_EQ(lines.Get(MarkerLine::FftY2), 77);

  // Without a DC line there is nothing to compare with: 0 dB, no division.
  r.spectrum.FFTre[0] = 0.0;
  SwitchFftXMarker(s, 1, true);
  const ControlOps none = PlaceMarkers(s, g, r, 100, 50, lines);
  EXPECT_EQ(TextOf(none, PanelId::FftX, res::kFftXM1dB), "0");
}

TEST_F(Markers, TimeXMarkersReadTheSampleAndTheDifference) {
  Show(DisplayChoice::ShowRpmFilt);
  FillSamples(10000, 0.0);
  r.samples.TprogrArr[1305] = 2.5;
  r.samples.RPMfiltArr[1305] = 1500.126;
  r.samples.TprogrArr[2605] = 4.0;
  r.samples.TRQfiltArr[2605] = 12.5;
  const PlotGeometry g = UpdateGeometry(s, r, l);
  s.Markers[0].FftXOn = 0;
  MarkerLines lines;
  SwitchTimeXMarkers(s, true);
  ControlOps ops = PlaceMarkers(s, g, r, 100, 10, lines);
  EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTime), "2.5");
  EXPECT_EQ(TextOf(ops, PanelId::X, res::kXSpeed), "1500.13");
  EXPECT_EQ(lines.Get(MarkerLine::TimeX1), 100);
  SelectXMarker(s, res::kXMarker2);
  PlaceMarkers(s, g, r, 200, 10, lines);
  EXPECT_EQ(s.Markers[1].X, 200);
  ops = SelectXMarker(s, res::kXDelta);
  EXPECT_TRUE(Has(ops, PanelId::X, res::kXDelta, ControlOp::Check));
  EXPECT_TRUE(Has(ops, PanelId::X, res::kXMarker1, ControlOp::Uncheck));
  EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTime), "-1.5");
  EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTorque), "-12.5");
  // With the difference chosen a click sets nothing.
  const int before = s.Markers[0].X;
  EXPECT_TRUE(PlaceMarkers(s, g, r, 300, 10, lines).empty());
  EXPECT_EQ(s.Markers[0].X, before);
  ops = SelectXMarker(s, res::kXMarker1);
  EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTime), "2.5");
}

TEST_F(Markers, YMarkerReadsTheValueOfItsBand) {
  Show(DisplayChoice::Show3RpmFilt);
  FillSamples(1000, 0.0);
  SetStatistics(100, -100);
  const PlotGeometry g = UpdateGeometry(s, r, l);
  s.Markers[0].FftXOn = 0;
  MarkerLines lines;
  SwitchYMarker(s, PanelId::Y2, true);
  // The torque band's zero line: 480 - (60 + 202) = 218; 0.6 px a unit.
  ControlOps ops = PlaceMarkers(s, g, r, 5, 218 - 30, lines);
  EXPECT_EQ(TextOf(ops, PanelId::Y2, res::kY2MarkerVal), "50");
  EXPECT_EQ(lines.Get(MarkerLine::TimeY), 188);
  EXPECT_EQ(s.Markers[0].Y, 188);
}

TEST_F(Markers, AYMarkerValueNeverBecomesASpeedReading) {
  MarkerLines lines;
  FillSamples(10000, 0.0);
  SetStatistics(100, -100);
  r.samples.RPMfiltArr[1305] = 1500.25;
  r.samples.TRQfiltArr[1305] = 12.5;
  r.samples.POTfiltArr[1305] = 3.75;
  struct Case {
    DisplayChoice show;
    PanelId panel;
    int field, row;  // the row of 75 kW on the power graph or band
  };
  // Single graph: 0.96 pixels a unit above row 240; power band: 0.6 above 420.
  for (const Case& c : {Case{DisplayChoice::Show3RpmFilt, PanelId::Y3, res::kY3MarkerVal, 375},
                        Case{DisplayChoice::ShowPower, PanelId::Y1, res::kY1MarkerVal, 168}}) {
    SCOPED_TRACE(static_cast<int>(c.show));
    s = DisplayState{};
    Show(c.show);
    const PlotGeometry g = UpdateGeometry(s, r, l);
    s.Markers[0].FftXOn = 0;
    SwitchTimeXMarkers(s, true);
    PlaceMarkers(s, g, r, 100, 10, lines);  // sample 1305
    SwitchYMarker(s, c.panel, true);
    ControlOps ops = PlaceMarkers(s, g, r, 5, c.row, lines);
    EXPECT_EQ(TextOf(ops, c.panel, c.field), "75");
    SwitchTimeXMarkers(s, true);
    ops = SelectXMarker(s, res::kXMarker1);
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXSpeed), "1500.25");
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXTorque), "12.5");
    EXPECT_EQ(TextOf(ops, PanelId::X, res::kXPower), "3.75");
  }
  // Each band keeps its own: the torque band's marker leaves the power band's.
  SwitchYMarker(s, PanelId::Y2, true);
  Show(DisplayChoice::Show3RpmFilt);
  PlaceMarkers(s, UpdateGeometry(s, r, l), r, 5, 218 - 30, lines);
  EXPECT_NEAR(s.YMarkerValue[1], 50.0, 1e-9);
  EXPECT_NEAR(s.YMarkerValue[0], 75.0, 1e-9);  // the power graph's, from its Y1 panel
  EXPECT_EQ(s.Markers[0].RpmFilt, 1500.25);
}

TEST_F(Markers, SwitchingOneMarkerOnTurnsTheCompetingOnesOff) {
  ControlOps ops = SwitchTimeXMarkers(s, true);
  EXPECT_TRUE(Has(ops, PanelId::X, res::kXTime, ControlOp::Enable));
  ops = SwitchYMarker(s, PanelId::Y2, true);
  EXPECT_EQ(s.TimeXMarkersOn, 0);
  EXPECT_EQ(s.YMarkerOn[1], 1);
  EXPECT_TRUE(Has(ops, PanelId::X, res::kXEnable, ControlOp::Uncheck));
  EXPECT_TRUE(Has(ops, PanelId::X, res::kXTime, ControlOp::Disable));
  EXPECT_TRUE(Has(ops, PanelId::Y2, res::kY2MarkerVal, ControlOp::Enable));
  EXPECT_TRUE(Has(ops, PanelId::Y1, res::kY1MarkerVal, ControlOp::Disable));
  EXPECT_TRUE(Has(ops, PanelId::Y3, res::kY3MarkerOn, ControlOp::Uncheck));
  ops = SwitchYMarker(s, PanelId::Y3, true);
  EXPECT_EQ(s.YMarkerOn[1], 0);
  EXPECT_TRUE(Has(ops, PanelId::Y2, res::kY2MarkerOn, ControlOp::Uncheck));
  ops = SwitchTimeXMarkers(s, true);
  EXPECT_EQ(s.YMarkerOn[2], 0);
  EXPECT_TRUE(Has(ops, PanelId::Y3, res::kY3MarkerVal, ControlOp::Disable));

  ops = SwitchFftXMarker(s, 1, true);
  EXPECT_TRUE(Has(ops, PanelId::FftX, res::kFftXVarLines, ControlOp::Enable));
  EXPECT_TRUE(Has(ops, PanelId::FftX, res::kFftXM2Line, ControlOp::Disable));
  EXPECT_TRUE(Has(ops, PanelId::FftY, res::kFftYMarker1On, ControlOp::Uncheck));
  ops = SwitchFftYMarker(s, 2, true);
  EXPECT_EQ(s.Markers[0].FftXOn, 0);
  EXPECT_EQ(s.Markers[1].FftYOn, 1);
  EXPECT_EQ(s.TimeXMarkersOn, 0);
  EXPECT_TRUE(Has(ops, PanelId::FftX, res::kFftXMarker1On, ControlOp::Uncheck));
  EXPECT_TRUE(Has(ops, PanelId::FftX, res::kFftXM1Ampl, ControlOp::Disable));
  EXPECT_TRUE(Has(ops, PanelId::FftY, res::kFftYM2dB, ControlOp::Enable));
  EXPECT_TRUE(Has(ops, PanelId::FftY, res::kFftYM1Ampl, ControlOp::Disable));
  ops = SwitchFftYMarker(s, 2, false);
  EXPECT_EQ(s.Markers[1].FftYOn, 0);
  EXPECT_TRUE(Has(ops, PanelId::FftY, res::kFftYM2Ampl, ControlOp::Disable));

  // Turning FFT X marker 1 off writes its kept readings into its fields.
  s.Markers[0].Line = 600, s.Markers[0].dB = -10.047;
  ops = SwitchFftXMarker(s, 1, false);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1Line), "600");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXM1dB), "-10.05");  // 2 decimals, rounded
  EXPECT_TRUE(Has(ops, PanelId::FftX, res::kFftXM1Line, ControlOp::Disable));
}

TEST_F(Markers, ClearingTheSwitchesBlanksEveryMarkerField) {
  s.TimeXMarkersOn = s.YMarkerOn[1] = s.Markers[0].FftXOn = s.Markers[1].FftYOn = 1;
  s.Markers[0].X = 123;
  s.Markers[0].Time = 4.5;
  const ControlOps ops = ClearMarkerSwitches(s);
  EXPECT_EQ(s.TimeXMarkersOn + s.YMarkerOn[0] + s.YMarkerOn[1] + s.YMarkerOn[2] +
                s.Markers[0].FftXOn + s.Markers[1].FftXOn + s.Markers[0].FftYOn +
                s.Markers[1].FftYOn,
            0);
  EXPECT_EQ(s.Markers[0].X, 123);
  EXPECT_EQ(s.Markers[0].Time, 4.5);
  for (auto [p, id] : {std::pair{PanelId::Y1, res::kY1MarkerVal}, {PanelId::X, res::kXTime},
                       {PanelId::FftX, res::kFftXVardB}, {PanelId::FftY, res::kFftYM1Ampl}}) {
    EXPECT_EQ(TextOf(ops, p, id), " ");
    EXPECT_TRUE(Has(ops, p, id, ControlOp::Disable));
  }
  for (auto [p, id] : {std::pair{PanelId::Y3, res::kY3MarkerOn}, {PanelId::X, res::kXEnable},
                       {PanelId::FftX, res::kFftXMarker2On}, {PanelId::FftY, res::kFftYMarker1On}})
    EXPECT_TRUE(Has(ops, p, id, ControlOp::Uncheck));
  for (int unit : {res::kXTimeUnit, res::kXSpeedUnit, res::kXTorqueUnit, res::kXPowerUnit})
    EXPECT_TRUE(Has(ops, PanelId::X, unit, ControlOp::Disable)) << unit;
}

TEST_F(Markers, PanelsShowTheirGraphAndSetChangesItsZoom) {
  Show(DisplayChoice::ShowTorque);
  r.stats.TRQfiltMax = 250.26;
  r.stats.TRQfiltMin = -3.0;
  ControlOps ops = FillPanel(PanelId::Y1, s, r);
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Title), "TORQUE");
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Zoom), "100");
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Max), "250.3");
  EXPECT_EQ(TextOf(ops, PanelId::Y1, res::kY1Min), "-3");
  EXPECT_TRUE(ApplyZoomText(s, PanelId::Y1, "200"));
  EXPECT_EQ(s.ZoomTorque, 200.0);
  EXPECT_EQ(s.ZoomRpm, 100.0);
  EXPECT_FALSE(ApplyZoomText(s, PanelId::Y1, "200"));  // the same text does nothing
  EXPECT_FALSE(ApplyZoomText(s, PanelId::Y2, "200.0000001"));  // nine characters read
  EXPECT_TRUE(ApplyZoomText(s, PanelId::Y3, "50"));
  EXPECT_EQ(s.ZoomPower, 50.0);
  EXPECT_FALSE(ApplyZoomText(s, PanelId::FftY, "300"));  // only with the FFT graph

  Show(DisplayChoice::Show3RpmInst);
  EXPECT_EQ(TextOf(FillPanel(PanelId::Y1, s, r), PanelId::Y1, res::kY1Title), "RPMinst");
  EXPECT_EQ(TextOf(FillPanel(PanelId::Y2, s, r), PanelId::Y2, res::kY2Title), "TORQUE");
  EXPECT_EQ(TextOf(FillPanel(PanelId::Y3, s, r), PanelId::Y3, res::kY3Title), "POWER");
  EXPECT_FALSE(PanelShown(s, PanelId::FftX));
  EXPECT_TRUE(PanelShown(s, PanelId::Y3));

  Show(DisplayChoice::ShowFft);
  r.settings.FFTsource = FftSource::Cslot;
  r.settings.FFTwindow = FftWindow::Blackman;
  r.stats.Fc = 1234.5678;
  r.spectrum.FFT_N = 8192;
  ops = FillPanel(PanelId::FftY, s, r);
  EXPECT_EQ(TextOf(ops, PanelId::FftY, res::kFftYTitle), "Y axis: TRQ RAW (Blackman)");
  ops = FillPanel(PanelId::FftX, s, r);
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXFc), "1234.57");
  EXPECT_EQ(TextOf(ops, PanelId::FftX, res::kFftXCount), "8192");
  EXPECT_TRUE(ApplyZoomText(s, PanelId::FftY, "300"));
  EXPECT_EQ(s.ZoomFft, 300.0);
}

}  // namespace
}  // namespace tz::test

namespace tz::test {
namespace {

TEST(VerticalScroll, RangeFromTheFontLineAndThePositionHeldToIt) {
  DisplayState s;
  s.VScrollPos = 249 * 26;  // where it starts
  EXPECT_EQ(SetUpVerticalScroll(s, 1000, 26), 1000 - 26);  // moved down by the excess
  EXPECT_EQ(s.VScrollMax, 250 * 26 - 1000);
  EXPECT_EQ(s.VScrollPos, s.VScrollMax);
  EXPECT_EQ(SetUpVerticalScroll(s, 500, 26), 0);  // a lower window: room to spare
  EXPECT_EQ(s.VScrollPos, 250 * 26 - 1000);
  EXPECT_EQ(SetUpVerticalScroll(s, 9000, 26), 250 * 26 - 1000);
  EXPECT_EQ(s.VScrollMax, 0);
  EXPECT_EQ(s.VScrollPos, 0);
}

}  // namespace
}  // namespace tz::test
