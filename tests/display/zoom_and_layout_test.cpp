// The X zoom, scrolling and restore at their edges, and the layout rule with
// a negative dialog unit.
#include <gtest/gtest.h>

#include "display/layout.h"
#include "display/plot_math.h"
#include "display/zoom_scroll.h"
#include "tests/display/display_fixture.h"

namespace tz::test {
namespace {

using Edges = DisplayFixture;

TEST_F(Edges, AZoomWhoseStepIsAlreadyOneKeepsOneAndStartsAtTheMarker) {
  r.counters.ProgrCount = 700;  // fewer samples than pixels: step 1
  r.spectrum.FFT_N = 1024;
  ComputeRanges(s, r, l);
  ASSERT_EQ(s.TimeStep, 1);
  ASSERT_EQ(s.FftStep, 1);
  s.Markers[0].X = 100, s.Markers[1].X = 300;
  ASSERT_TRUE(XZoom(s, l).zoomed);
  EXPECT_EQ(s.TimeStep, 1);  // 1 x 200 / 800 is 0: held to 1
  EXPECT_EQ(s.FftStep, 1);
  EXPECT_EQ(s.TimeStart, 100);
  EXPECT_EQ(s.TimeEnd, 300);
  EXPECT_EQ(s.FftStart, 100);
  EXPECT_EQ(s.FftEnd, 300);
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.TimePixStep, 4);  // 800 / 200
  EXPECT_EQ(s.FftPixStep, 4);
}

TEST_F(Edges, ZoomStepsScaleWithTheStretch) {
  s.TimeStep = 21, s.FftStep = 7;
  s.ZoomBaseTime = 1000, s.ZoomBaseFft = 50;
  s.Markers[0].X = 0, s.Markers[1].X = 599;  // marker 1 unset: from column 0
  ASSERT_TRUE(XZoom(s, l).zoomed);
  EXPECT_EQ(s.TimeStep, 15);  // 21 x 599 / 800 = 15.7
  EXPECT_EQ(s.FftStep, 5);    // 7 x 599 / 800 = 5.2
  EXPECT_EQ(s.TimeStart, 1000);
  EXPECT_EQ(s.TimeEnd, 21 * 599 + 1000);
  EXPECT_EQ(s.FftStart, 50);
  EXPECT_EQ(s.FftEnd, 7 * 599 + 50);
}

TEST_F(Edges, AShortSpanScrollsByOneAtLeast) {
  r.counters.ProgrCount = 16000;
  r.spectrum.FFT_N = 8192;
  s.Show = DisplayChoice::ShowTorque;
  s.TimeStart = 100, s.TimeEnd = 110;  // 3 % of 10 is 0: one sample
  s.FftStart = 200, s.FftEnd = 205;
  ScrollHorizontally(s, r, ScrollCode::LineRight);
  EXPECT_EQ(s.TimeStart, 101);
  EXPECT_EQ(s.TimeEnd, 111);
  EXPECT_EQ(s.FftStart, 201);
  EXPECT_EQ(s.FftEnd, 206);
  ScrollHorizontally(s, r, ScrollCode::PageRight);  // 33 % of 10 is 3
  EXPECT_EQ(s.TimeStart, 104);
  EXPECT_EQ(s.FftStart, 202);
  ScrollHorizontally(s, r, ScrollCode::LineLeft);
  ScrollHorizontally(s, r, ScrollCode::PageLeft);
  EXPECT_EQ(s.TimeStart, 100);
  EXPECT_EQ(s.TimeEnd, 110);
  EXPECT_EQ(s.FftEnd, 205);
  // At the left end the span is kept from 0.
  s.TimeStart = 1, s.TimeEnd = 11;
  ScrollHorizontally(s, r, ScrollCode::LineLeft);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 10);
  // The bar stands at the middle of the span, from the new start:
  // 100 x (5 + 0) / 16000, then 100 x (1000 + 5000) / 16000.
  s.TimeStart = 0, s.TimeEnd = 10;
  EXPECT_EQ(ScrollHorizontally(s, r, ScrollCode::LineLeft).value(), 0);
  s.TimeStart = 5030, s.TimeEnd = 7030;
  EXPECT_EQ(ScrollHorizontally(s, r, ScrollCode::LineLeft).value(), 37);
  EXPECT_EQ(s.TimeStart, 4970);
}

TEST_F(Edges, TheBarOfADisplayOfOneSampleStandsAtItsEnd) {
  r.counters.ProgrCount = 1;
  s.Show = DisplayChoice::ShowTorque;
  s.TimeStart = 1, s.TimeEnd = 1;
  EXPECT_EQ(ScrollHorizontally(s, r, ScrollCode::LineRight).value(), 100);  // 100 x 1 / 1
  EXPECT_EQ(s.TimeStart, 1);
  EXPECT_EQ(s.TimeEnd, 1);
}

TEST_F(Edges, AKeptZoomGetsStepsOfOneAtLeast) {
  r.counters.ProgrCount = 1000;
  r.spectrum.FFT_N = 1024;
  s.XZoomActive = 1;
  s.TimeStart = 0, s.TimeEnd = 100, s.TimeStep = 0;
  s.FftStart = 0, s.FftEnd = 50, s.FftStep = -3;
  ASSERT_TRUE(ComputeRanges(s, r, l));
  EXPECT_EQ(s.XZoomActive, 1);
  EXPECT_EQ(s.TimeStep, 1);
  EXPECT_EQ(s.FftStep, 1);
  EXPECT_EQ(s.TimePixStep, 8);  // 800 / 100
  EXPECT_EQ(s.FftPixStep, 16);
}

TEST_F(Edges, AKeptZoomPastASpectrumOfOneLineIsDropped) {
  r.counters.ProgrCount = 1000;
  r.spectrum.FFT_N = 2;  // one line
  s.XZoomActive = 1;
  s.TimeStart = 0, s.TimeEnd = 100, s.TimeStep = 1;
  s.FftStart = 1, s.FftEnd = 5, s.FftStep = 1;  // held to 1..1: nothing
  ComputeRanges(s, r, l);
  EXPECT_EQ(s.XZoomActive, 0);
  EXPECT_EQ(s.TimeEnd, 1000);
  EXPECT_EQ(s.FftStart, 0);
  EXPECT_EQ(s.FftEnd, 1);
}

TEST_F(Edges, ScrollWithoutDataStaysAtZero) {
  s.TimeStart = 0, s.TimeEnd = 0;
  EXPECT_EQ(ScrollHorizontally(s, r, ScrollCode::PageRight).value(), 0);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 0);
}

TEST_F(Edges, RestoreWithNoSamplesAndAtCapacity) {
  s.XZoomActive = 1;
  s.TimeStart = 10, s.TimeEnd = 20, s.FftStart = 3, s.FftEnd = 9;
  s.ZoomBaseTime = 10, s.ZoomBaseFft = 3;
  s.Markers[0].X = 5, s.Markers[1].X = 7;
  XRestore(s, r);  // nothing loaded
  EXPECT_EQ(s.XZoomActive, 0);
  EXPECT_EQ(s.TimeStart, 0);
  EXPECT_EQ(s.TimeEnd, 0);
  EXPECT_EQ(s.FftStart, 0);
  EXPECT_EQ(s.FftEnd, 0);
  EXPECT_EQ(s.ZoomBaseTime, 0);
  EXPECT_EQ(s.ZoomBaseFft, 0);
  EXPECT_EQ(s.Markers[0].X, 0);
  EXPECT_EQ(s.Markers[1].X, 0);

  // A full file: samples up to the last index the arrays hold, lines up to
  // half the largest transform; a count beyond them (a broken record) too.
  for (int32_t count : {kSampleCapacity, kSampleCapacity + 5}) {
    r.counters.ProgrCount = count;
    r.spectrum.FFT_N = 2 * count;
    XRestore(s, r);
    EXPECT_EQ(s.TimeEnd, kSampleCapacity - 1) << count;
    EXPECT_EQ(s.FftEnd, kSampleCapacity / 2) << count;
    EXPECT_EQ(SampleCount(r), kSampleCapacity - 1);
    EXPECT_EQ(HalfSpectrum(r), kMaxSpectrumLines);
  }
  r.counters.ProgrCount = -3;
  r.spectrum.FFT_N = -8;
  EXPECT_EQ(SampleCount(r), 0);
  EXPECT_EQ(HalfSpectrum(r), 0);
}

TEST(LayoutRule, RectanglesOfThePlotAndTheStrip) {
  const LayoutRecord l = LayOut(1100, 700, 20, false);
  EXPECT_EQ(l.ClientWidth, 1100);
  EXPECT_EQ(l.ClientHeight, 700);
  EXPECT_EQ(l.PlotHeight, 680);
  const Rect plot = PlotWindowRect(l);
  EXPECT_EQ((std::array{plot.x, plot.y, plot.width, plot.height}), (std::array{0, 0, 938, 700}));
  const Rect strip = ToolbarRect(l, 20);
  EXPECT_EQ((std::array{strip.x, strip.y, strip.width, strip.height}),
            (std::array{938, 680, 162, 20}));
  // A negative dialog unit: the strip has no height, and the plot's height
  // is still the client's less the unit.
  EXPECT_EQ(ToolbarRect(l, -4).height, 0);
  EXPECT_EQ(LayOut(1100, 700, -4, false).PlotHeight, 704);
  EXPECT_EQ(LayOut(1100, 10, 20, false).PlotHeight, 0);
  // A client of one pixel keeps it, and so does a plot one pixel wide.
  const LayoutRecord tiny = LayOut(1, 1, 0, false);
  EXPECT_EQ((std::array{tiny.ClientWidth, tiny.ClientHeight, tiny.PlotHeight}),
            (std::array<uint16_t, 3>{1, 1, 1}));
  EXPECT_EQ(PlotWidthFor(163, 162), 1);
  EXPECT_EQ(PlotWidthFor(65535 + 500, 162), 65535);  // held to 16 bits
  EXPECT_EQ(LayOut(65536, 65536, 20, true).ClientWidth, 65535);
  EXPECT_EQ(LayOut(65536, 65536, 20, true).ClientHeight, 65535);
  EXPECT_EQ(MinTrackHeight(21, 17, 3, 23), 21 + 17 + 2 * 3 + 4 * 23);
}

}  // namespace
}  // namespace tz::test
