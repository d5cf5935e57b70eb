// The plot geometry: computed from the state, the record and the layout
// before anything is painted, read by painting and by clicks alike, and left
// alone by painting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "display/display.h"
#include "display/plot_geometry.h"
#include "display/plot_painter.h"
#include "tests/display/display_fixture.h"
#include "ui/resource.h"

namespace tz::test {
namespace {

// A record with samples that differ along the time axis and a spectrum with
// a fundamental: every marker reads something that depends on the geometry.
class Geometry : public DisplayFixture {
 protected:
  Geometry() {
    FillSamples(10000, 0.0);
    for (int i = 1; i <= 10000; ++i) {
      r.samples.RPMfiltArr[i] = r.samples.RPMinstArr[i] = 1000.0 + i % 97;
      r.samples.TRQfiltArr[i] = r.samples.POTfiltArr[i] = -50.0 + i % 89;
    }
    SetStatistics(1100, 900);
    r.stats.TRQfiltMin = r.stats.POTfiltMin = -50, r.stats.TRQfiltMax = r.stats.POTfiltMax = 40;
    r.spectrum.FFT_N = 8192;
    for (int k = 0; k < 4096; ++k) r.spectrum.FFTre[k] = 0.01, r.spectrum.FFTfreq[k] = 0.5 * k;
    r.spectrum.FFTre[0] = 2.0;
    r.spectrum.FundLine = 40;
    r.spectrum.FFTre[40] = 1.0;
  }
};

TEST_F(Geometry, ScalesOfTheGraphsShownOnly) {
  const double H = l.PlotHeight;
  const std::array<VerticalScale, 3> none{};
  Show(DisplayChoice::ShowFft);
  PlotGeometry g = UpdateGeometry(s, r, l);
  EXPECT_TRUE(g.HasSamples);
  EXPECT_EQ(g.Graph, FftScale(s, H, r));
  EXPECT_GT(g.Graph.Scale, 0.0);
  EXPECT_EQ(g.Bands, none);
  EXPECT_EQ(g.FftStep, 6);  // 4096 lines on 800 pixels
  EXPECT_EQ(g.TimeStep, 13);
  EXPECT_EQ(g.FirstProgr, r.settings.MovAvgLen);

  Show(DisplayChoice::ShowTorque);
  g = UpdateGeometry(s, r, l);
  EXPECT_EQ(g.Graph, SingleGraphScale(H, SeriesOf(TimeGraph::Torque, r, s)));
  EXPECT_EQ(g.Bands, none);

  Show(DisplayChoice::Show3RpmInst);
  g = UpdateGeometry(s, r, l);
  EXPECT_EQ(g.Graph, VerticalScale{});
  EXPECT_EQ(g.Bands, BandScales(s, H, r));
  EXPECT_GT(g.Bands[2].Scale, 0.0);

  // Without samples nothing is drawn: no scales, the ranges as they stand.
  r.counters.ProgrCount = 0;
  s.TimeStep = 77;
  g = UpdateGeometry(s, r, l);
  EXPECT_FALSE(g.HasSamples);
  EXPECT_EQ(g.Bands, none);
  EXPECT_EQ(g.TimeStep, 77);
}

TEST_F(Geometry, PaintingChangesNeitherTheStateNorTheGeometry) {
  for (int i = 0; i < kDisplayChoiceCount; ++i) {
    SCOPED_TRACE(i);
    Show(static_cast<DisplayChoice>(i));
    const PlotGeometry g = UpdateGeometry(s, r, l);
    const DisplayState before = s;
    QImage img(l.PlotWidth, l.ClientHeight, QImage::Format_RGB32);
    QPainter p(&img);
    PaintPlot(p, s, g, r, MarkerLines{}, Qt::white);
    EXPECT_EQ(s, before);
    EXPECT_EQ(GeometryOf(s, r, l), g);
    EXPECT_EQ(UpdateGeometry(s, r, l), g);  // nothing left to bring in
  }
}

// The display on a client that is never shown: its plot window is not
// painted until a test grabs it.
class ClickBeforePaint : public Geometry {
 protected:
  ClickBeforePaint() { l = LayOut(1120, 720, 20, true); }

  void Click(int x, int y) {
    PlotWindow* plot = display.Plot();
    const QPointF at(x, y);
    QMouseEvent press(QEvent::MouseButtonPress, at, plot->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, plot->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(plot, &press);
    QApplication::sendEvent(plot, &release);
  }

  QWidget client;
  MessageBoxFn noBox = [](QWidget*, const Message&) {};
  Display display{&client, r, l, noBox};
};

TEST_F(ClickBeforePaint, ReadsWhatThePaintDraws) {
  struct Case {
    const char* what;
    DisplayChoice show;
    void (*switchOn)(DisplayState&);
    PanelId panel;
    int field;
  };
  const Case cases[] = {
      {"FFT X marker", DisplayChoice::ShowFft, [](DisplayState&) {}, PanelId::FftX,
       res::kFftXM1Line},
      {"FFT Y marker", DisplayChoice::ShowFft,
       [](DisplayState& s) { s.Markers[0].FftXOn = 0, s.Markers[0].FftYOn = 1; }, PanelId::FftY,
       res::kFftYM1Ampl},
      {"time X marker", DisplayChoice::ShowRpmFilt,
       [](DisplayState& s) { s.Markers[0].FftXOn = 0, s.TimeXMarkersOn = 1; }, PanelId::X,
       res::kXTime},
      {"single graph Y marker", DisplayChoice::ShowTorque,
       [](DisplayState& s) { s.Markers[0].FftXOn = 0, s.YMarkerOn[0] = 1; }, PanelId::Y1,
       res::kY1MarkerVal},
      {"band Y marker", DisplayChoice::Show3RpmFilt,
       [](DisplayState& s) { s.Markers[0].FftXOn = 0, s.YMarkerOn[1] = 1; }, PanelId::Y2,
       res::kY2MarkerVal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    display.State() = DisplayState{};
    display.State().Show = c.show;
    c.switchOn(display.State());
    display.RebuildDisplay();
    Click(150, 200);
    const QString beforePaint = display.Panel(c.panel)->Text(c.field);
    const DisplayState state = display.State();
    display.Plot()->grab();  // the first paint, after the first resize
    // The resize sets up the vertical scroll bar; the paint changes nothing.
    DisplayState painted = display.State();
    painted.VScrollPos = state.VScrollPos, painted.VScrollMax = state.VScrollMax;
    EXPECT_TRUE(painted == state);
    Click(150, 200);
    EXPECT_EQ(display.Panel(c.panel)->Text(c.field), beforePaint);
    EXPECT_NE(beforePaint, QStringLiteral("0"));
    EXPECT_FALSE(beforePaint.isEmpty());
  }
}

}  // namespace
}  // namespace tz::test
