// The graph display in the main window: the display settings, the panels
// beside the plot window, clicks that read markers into them, zoom and
// restore, the keyboard toggle.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "app/dispatcher.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "app/toolbar_strip.h"
#include "app_test_support.h"
#include "display/display.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

// A widget's rectangle in the client area's coordinates.
QRect InClient(const QWidget* w, const QWidget* client) {
  return {w->mapTo(client, QPoint(0, 0)), w->size()};
}

// The panels of the display shown, top to bottom, with their rectangles in
// the client area; and the part of the client area they can be seen in (the
// viewport of a scrolling column, or the client area).
struct Column {
  std::vector<AxisPanel*> panels;
  std::vector<QRect> rects;
  QRect seenIn;
  QScrollArea* scroll = nullptr;
};

Column ColumnOf(MainWindow& w) {
  QWidget* client = w.centralWidget();
  Column c;
  c.seenIn = client->rect();
  for (PanelId p : {PanelId::FftY, PanelId::FftX, PanelId::Y1, PanelId::Y2, PanelId::Y3,
                    PanelId::X}) {
    AxisPanel* panel = w.Graphs().Panel(p);
    if (panel == nullptr) continue;
    c.panels.push_back(panel);
    c.rects.push_back(InClient(panel, client));
    for (QWidget* a = panel->parentWidget(); a != nullptr && a != client; a = a->parentWidget())
      if (auto* area = qobject_cast<QScrollArea*>(a)) {
        c.scroll = area;
        c.seenIn = InClient(area->viewport(), client);
      }
  }
  return c;
}

// The client area as a rebuild lays it out, whatever the size: the plot on
// the left, the strip at the foot of the column, and the panels in the
// column in their order, each as high as its contents, none over another,
// over the plot or under the strip; a column taller than the room scrolls.
void ExpectLaidOut(MainWindow& w) {
  QWidget* client = w.centralWidget();
  const LayoutRecord& l = w.Layout();
  ASSERT_EQ(l.ClientWidth, client->width());
  ASSERT_EQ(l.ClientHeight, client->height());
  const QRect plot = InClient(w.Graphs().Plot(), client);
  EXPECT_EQ(plot, QRect(0, 0, l.PlotWidth, l.ClientHeight));
  const QRect strip = InClient(&w.Toolbar(), client);
  EXPECT_EQ(strip, QRect(l.PlotWidth, l.ToolbarTop, l.PanelWidth, w.DlgUnitHeight()));
  const Column c = ColumnOf(w);
  ASSERT_FALSE(c.panels.empty());
  EXPECT_TRUE(client->rect().contains(c.seenIn));
  EXPECT_FALSE(c.seenIn.intersects(plot));
  EXPECT_FALSE(c.seenIn.intersects(strip));
  int total = 0;
  for (size_t i = 0; i < c.panels.size(); ++i) {
    AxisPanel* p = c.panels[i];
    const QRect r = c.rects[i];
    SCOPED_TRACE(p->objectName().toStdString());
    EXPECT_TRUE(p->isVisible());
    total += r.height();
    const QRect holder = c.scroll == nullptr ? c.seenIn : InClient(c.scroll->widget(), client);
    EXPECT_TRUE(holder.contains(r));
    EXPECT_EQ(r.x(), l.PlotWidth);
    EXPECT_LE(r.width(), l.PanelWidth);
    EXPECT_GE(r.width(), l.PanelWidth - 20);  // at most a scroll bar narrower
    EXPECT_EQ(r.width(), c.seenIn.width());  // as wide as what it is seen in
    EXPECT_FALSE(r.intersects(plot));
    if (i > 0) {
      EXPECT_EQ(r.y(), c.rects[i - 1].bottom() + 1);  // in order, no gap, no overlap
    }
    // Every control shows whole within its panel: the panel fits them.
    for (QWidget* control : p->findChildren<QWidget*>()) {
      if (!control->objectName().startsWith("id:") && !qobject_cast<QLabel*>(control)) continue;
      EXPECT_TRUE(p->contentsRect().contains(InClient(control, p)))
          << control->objectName().toStdString();
    }
  }
  const int room = l.ToolbarTop - l.PlotTop;
  if (total > room) {
    ASSERT_NE(c.scroll, nullptr) << "a column taller than the room scrolls";
    EXPECT_TRUE(c.scroll->verticalScrollBar()->isVisible());
    EXPECT_EQ(c.scroll->verticalScrollBar()->maximum(), total - room);
  } else {
    EXPECT_EQ(total, room);  // the panel that fills takes the rest
  }
}

class Graphs : public ::testing::Test {
 protected:
  Graphs() : w(MakeWindow(answers)) {}

  // The demo run, closed with OK: the display shows it.
  void RunDemo() {
    OpenDemo(*w, answers, dir);
    ASSERT_NE(w->Platform().Statistics(), nullptr);
    w->Platform().Statistics()->accept();
    Settle();
    ASSERT_NE(Plot(), nullptr);
  }
  // The display settings with one graph button and OK.
  void Choose(int radioId) {
    WhenModal([radioId](QDialog* d) {
      FindById<QRadioButton>(d, radioId)->click();
      d->accept();
    });
    w->Dispatcher().Dispatch(res::kCmdDisplayControl);
    Settle();
  }
  PlotWindow* Plot() { return w->Graphs().Plot(); }
  AxisPanel* Panel(PanelId p) { return w->Graphs().Panel(p); }
  DisplayState& State() { return w->Graphs().State(); }
  const PlotGeometry& Geometry() { return w->Graphs().Geometry(); }
  QImage Image() { return Plot()->grab().toImage(); }
  void Click(int x, int y) {
    QTest::mouseClick(Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  }
  static int CountColumn(const QImage& img, int x, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y) n += (img.pixel(x, y) | 0xff000000u) == colour;
    return n;
  }

  TempDir dir;
  Answers answers;
  std::unique_ptr<MainWindow> w;
};

TEST_F(Graphs, DisplaySettingsChooseTheGraphsAndThePanelColumn) {
  RunDemo();
  const LayoutRecord& l = w->Layout();
  const int cw = l.ClientWidth;
  EXPECT_EQ(Plot()->width(), cw - 320);
  ASSERT_NE(Panel(PanelId::FftY), nullptr);
  ASSERT_NE(Panel(PanelId::FftX), nullptr);
  ExpectLaidOut(*w);
  EXPECT_EQ(ColumnOf(*w).panels,
            (std::vector<AxisPanel*>{Panel(PanelId::FftY), Panel(PanelId::FftX)}));
  EXPECT_EQ(Panel(PanelId::FftY)->Text(res::kFftYTitle), "Y axis: TORQUE (Hamming)");
  EXPECT_EQ(Panel(PanelId::FftX)->Text(res::kFftXCount).toStdString(),
            std::to_string(w->ShownRecord().spectrum.FFT_N));
  EXPECT_EQ(Panel(PanelId::Y1), nullptr);

  Choose(res::kRadioShowTorque);
  EXPECT_EQ(State().Show, DisplayChoice::ShowTorque);
  EXPECT_EQ(Plot()->width(), cw - 162);
  ASSERT_NE(Panel(PanelId::Y1), nullptr);
  EXPECT_EQ(Panel(PanelId::Y1)->Text(res::kY1Title), "TORQUE");
  ExpectLaidOut(*w);  // the progress strip follows the column to its foot
  EXPECT_EQ(ColumnOf(*w).panels, (std::vector<AxisPanel*>{Panel(PanelId::Y1), Panel(PanelId::X)}));
  EXPECT_EQ(w->Toolbar().geometry(), QRect(cw - 162, l.ToolbarTop, 162, w->DlgUnitHeight()));
  EXPECT_EQ(Panel(PanelId::X)->Text(res::kXTorqueUnit), "Nm");
  EXPECT_TRUE(Panel(PanelId::X)->IsChecked(res::kXMarker1));
  EXPECT_EQ(Panel(PanelId::Y2), nullptr);
  EXPECT_EQ(Panel(PanelId::FftY), nullptr);

  Choose(res::kRadioShow3RpmInst);
  ASSERT_NE(Panel(PanelId::Y3), nullptr);
  EXPECT_EQ(Panel(PanelId::Y1)->Text(res::kY1Title), "RPMinst");
  ExpectLaidOut(*w);
  EXPECT_EQ(ColumnOf(*w).panels,
            (std::vector<AxisPanel*>{Panel(PanelId::Y1), Panel(PanelId::Y2), Panel(PanelId::Y3),
                                     Panel(PanelId::X)}));

  Choose(res::kRadioShowFft);
  EXPECT_EQ(Plot()->width(), cw - 320);
}

TEST_F(Graphs, AClickReadsTheSpectrumLineAndDrawsItsMarker) {
  RunDemo();
  Image();  // painted first, as the user sees it
  const int step = State().FftStep;
  Click(100, 200);
  EXPECT_EQ(State().Markers[0].X, 100);
  AxisPanel* fx = Panel(PanelId::FftX);
  EXPECT_EQ(fx->Text(res::kFftXM1Line).toStdString(), std::to_string(step * 100));
  EXPECT_FALSE(fx->Text(res::kFftXM1Ampl).isEmpty());
  Settle();
  const QImage img = Image();
  EXPECT_GT(CountColumn(img, 100, qRgb(255, 0, 255)), 100);  // the dotted magenta line

  // The display settings' OK switches every marker off: a click sets none.
  WhenModal([](QDialog* d) { d->accept(); });
  w->Dispatcher().Dispatch(res::kCmdDisplayControl);
  Settle();
  Click(300, 200);
  EXPECT_EQ(State().Markers[0].X, 100);
  EXPECT_EQ(CountColumn(Image(), 300, qRgb(255, 0, 255)), 0);
}

TEST_F(Graphs, SetDoublesTheCurveAndTheSameTextAgainDoesNothing) {
  RunDemo();
  Choose(res::kRadioShowRpmFilt);
  Image();
  const double scale = Geometry().Graph.Scale;
  const double offset = Geometry().Graph.Offset;
  AxisPanel* y1 = Panel(PanelId::Y1);
  FindById<QLineEdit>(y1, res::kY1Zoom)->setText("200");
  FindById<QPushButton>(y1, res::kY1Set)->click();
  Settle();
  EXPECT_EQ(State().ZoomRpm, 200.0);
  ASSERT_NE(Panel(PanelId::Y1), y1);  // rebuilt
  Image();
  EXPECT_DOUBLE_EQ(Geometry().Graph.Scale, 2 * scale);
  EXPECT_DOUBLE_EQ(Geometry().Graph.Offset, offset);
  y1 = Panel(PanelId::Y1);
  EXPECT_EQ(y1->Text(res::kY1Zoom), "200");
  FindById<QPushButton>(y1, res::kY1Set)->click();
  Settle();
  EXPECT_EQ(Panel(PanelId::Y1), y1);  // not rebuilt
}

TEST_F(Graphs, YMarkerOfTheTorqueBandReadsIntoItsPanel) {
  RunDemo();
  Choose(res::kRadioShow3RpmFilt);
  Image();
  FindById<QCheckBox>(Panel(PanelId::Y2), res::kY2MarkerOn)->click();
  EXPECT_FALSE(Panel(PanelId::X)->IsChecked(res::kXEnable));
  EXPECT_TRUE(Panel(PanelId::Y2)->IsEnabled(res::kY2MarkerVal));
  EXPECT_EQ(State().YMarkerOn[1], 1);
  // The torque band's zero line, then 20 pixels above it.
  const int zero = w->Layout().PlotHeight -
                   static_cast<int>(Geometry().Bands[1].Offset + Geometry().Bands[1].Base);
  const double unitsPerPixel = 1 / Geometry().Bands[1].Scale;
  Click(50, zero);
  EXPECT_NEAR(Panel(PanelId::Y2)->Text(res::kY2MarkerVal).toDouble(), 0.0, unitsPerPixel);
  Click(50, zero - 20);
  EXPECT_NEAR(Panel(PanelId::Y2)->Text(res::kY2MarkerVal).toDouble(), 20 * unitsPerPixel,
              unitsPerPixel);
  EXPECT_EQ(State().Markers[0].Y, zero - 20);
  Settle();
  const QImage img = Image();
  int black = 0;
  for (int x = 0; x < img.width(); ++x) black += (img.pixel(x, zero - 20) | 0xff000000u) == qRgb(0, 0, 0);
  EXPECT_GT(black, img.width() / 4);  // the dotted black line across the plot
}

TEST_F(Graphs, XZoomAndRestoreWithTheTimeMarkers) {
  RunDemo();
  Choose(res::kRadioShowRpmFilt);
  w->Dispatcher().Dispatch(res::kCmdXZoom);
  ASSERT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(answers.messages[0].caption, "Error");
  EXPECT_EQ(answers.messages[0].text, "Marker1 and Marker2 not set");
  EXPECT_EQ(answers.owners[0], Plot());
  EXPECT_EQ(State().XZoomActive, 1);  // refused, but in force: the bar shows it
  EXPECT_TRUE(Plot()->HorizontalBar()->isVisible());

  Image();
  FindById<QCheckBox>(Panel(PanelId::X), res::kXEnable)->click();
  Click(200, 100);
  FindById<QRadioButton>(Panel(PanelId::X), res::kXMarker2)->click();
  Click(600, 100);
  const int step = State().TimeStep;
  w->Dispatcher().Dispatch(res::kCmdXZoom);
  Settle();
  EXPECT_EQ(answers.messages.size(), 1u);
  EXPECT_EQ(State().XZoomActive, 1);
  EXPECT_EQ(State().TimeStart, step * 200);
  EXPECT_EQ(State().TimeEnd, step * 600);
  EXPECT_EQ(State().ZoomBaseTime, step * 200);
  EXPECT_TRUE(Plot()->HorizontalBar()->isVisible());

  // Scrolling moves the zoomed stretch by 3 % of its span.
  const int span = State().TimeEnd - State().TimeStart;
  const int start = State().TimeStart;
  Plot()->HorizontalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(State().TimeStart, start + static_cast<int>(span * 0.03));

  w->Dispatcher().Dispatch(res::kCmdRestoreX);
  Settle();
  EXPECT_EQ(State().XZoomActive, 0);
  EXPECT_EQ(State().Markers[0].X, 0);
  EXPECT_EQ(State().TimeEnd, w->ShownRecord().counters.ProgrCount);
  EXPECT_FALSE(Plot()->HorizontalBar()->isVisible());
}

// What the panels show: every control's text, check and enabled state.
std::vector<std::string> PanelStates(Display& g) {
  std::vector<std::string> out;
  for (PanelId p : {PanelId::Y1, PanelId::Y2, PanelId::Y3, PanelId::X, PanelId::FftY,
                    PanelId::FftX}) {
    AxisPanel* panel = g.Panel(p);
    if (panel == nullptr) continue;
    for (QWidget* c : panel->findChildren<QWidget*>()) {
      const QString name = c->objectName();
      if (!name.startsWith("id:") || name == IdName(res::kIdStatic)) continue;
      const int id = name.mid(3).toInt();
      out.push_back(name.toStdString() + "=" + panel->Text(id).toStdString() +
                    (panel->IsChecked(id) ? " checked" : "") +
                    (panel->IsEnabled(id) ? "" : " disabled"));
    }
  }
  return out;
}

// The texts of a new parameters dialog (F5).
std::vector<std::string> ParameterTexts(MainWindow& w) {
  w.Dispatcher().Dispatch(res::kCmdParameters);
  QDialog* d = w.Dispatcher().ParamDialog();
  std::vector<std::string> out;
  if (d == nullptr) return out;
  for (QLineEdit* e : d->findChildren<QLineEdit*>()) out.push_back(e->text().toStdString());
  d->close();
  Settle();
  return out;
}

// A run that fails leaves the display of the last file that ran to its end:
// graphs, panels, markers, zoom and caption; F5 shows that file's
// parameters and F10 processes it again.
TEST_F(Graphs, AFailedRunLeavesThePreviousDisplayInPlace) {
  RunDemo();
  Choose(res::kRadioShow3RpmFilt);
  Image();
  FindById<QCheckBox>(Panel(PanelId::X), res::kXEnable)->click();
  Click(100, 150);
  FindById<QRadioButton>(Panel(PanelId::X), res::kXMarker2)->click();
  Click(400, 150);
  w->Dispatcher().Dispatch(res::kCmdXZoom);
  Settle();
  ASSERT_EQ(State().XZoomActive, 1);
  Image();
  FindById<QCheckBox>(Panel(PanelId::X), res::kXEnable)->click();
  Click(250, 300);
  Settle();
  const QImage picture = Image();
  const std::vector<std::string> panels = PanelStates(w->Graphs());
  const DisplayState state = State();
  const std::string caption = w->windowTitle().toStdString();
  const std::vector<std::string> parameters = ParameterTexts(*w);
  ASSERT_FALSE(parameters.empty());
  ASSERT_EQ(caption, "demo.VBT  -  Varnholt - VRX7731 Torzalen - Frequency Domain Utility");

  WriteFile(dir.Path("empty.VBT"), "");
  WriteFile(dir.Path("garbage.VBT"), "this is no measurement\r\n\x01\x02\xff,,\r\n");
  WriteFile(dir.Path("nosample.VBT"),
            "Download of sampled vibrotorsional data from VRX7731\r\n01/01/2030\r\n"
            "10:00:00\r\nFmux=0.07uS\r\nG=70000N/sqmm\r\nRext=20mm\r\nRint=5mm\r\n"
            "L=200mm\r\nN_SLOT=30\r\nA_SLOT=6\r\nPerc_Slot=0.4\r\nRPMmax=3000rpm\r\n"
            "PCoeff=2\r\nPDist=1\r\nCislot,Cslot\r\n");
  const std::vector<std::vector<std::optional<std::string>>> choices = {
      {dir.Path("empty.VBT"), dir.Path("x.TDM"), dir.Path("x.FDM")},
      {dir.Path("garbage.VBT"), dir.Path("x.TDM"), dir.Path("x.FDM")},
      {dir.Path("nosample.VBT"), dir.Path("x.TDM"), dir.Path("x.FDM")},
      // A run that cannot start: the input named as its own output.
      {dir.Path("nosample.VBT"), dir.Path("nosample.VBT"), dir.Path("x.FDM")},
  };
  for (const auto& files : choices) {
    SCOPED_TRACE(*files[0] + " into " + *files[1]);
    const size_t messages = answers.messages.size();
    answers.files.assign(files.begin(), files.end());
    w->Dispatcher().Dispatch(res::kCmdOpenVbt);
    Settle();
    EXPECT_EQ(answers.messages.size(), messages + 1);  // the run's own message
    EXPECT_TRUE(Image() == picture);
    EXPECT_EQ(PanelStates(w->Graphs()), panels);
    EXPECT_TRUE(State() == state);
    EXPECT_EQ(w->windowTitle().toStdString(), caption);
    EXPECT_EQ(w->Dispatcher().InputTitle(), "demo.VBT");
    EXPECT_EQ(ParameterTexts(*w), parameters);
  }

  // F10 processes the file shown, into its outputs, without asking.
  answers.asked.clear();
  WriteFile(dir.Path("a.TDM"), "");
  w->Dispatcher().Dispatch(res::kCmdProcessFile);
  EXPECT_TRUE(answers.asked.empty());
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  // demo.VBT's sample lines:
  EXPECT_EQ(w->Platform().Statistics()->Total()->text().toStdString(), "40000");
  EXPECT_GT(ReadFile(dir.Path("a.TDM")).size(), 1000u);
  EXPECT_EQ(w->windowTitle().toStdString(), caption);
}

TEST_F(Graphs, PanelsFollowTheWindowAndFitTheirContents) {
  RunDemo();
  w->showNormal();
  for (int choice : {res::kRadioShowFft, res::kRadioShow3RpmFilt, res::kRadioShowTorque}) {
    Choose(choice);
    for (QSize size : {QSize(1100, 700), QSize(750, 530), QSize(1100, 700), QSize(1600, 1000),
                       QSize(750, 530)}) {
      SCOPED_TRACE(testing::Message() << "display " << choice << " at " << size.width() << "x"
                                      << size.height());
      w->resize(size);
      Settle();
      ExpectLaidOut(*w);
      // A resize places everything as a rebuild at that size does.
      const Column resized = ColumnOf(*w);
      w->Graphs().RebuildDisplay();
      Settle();
      EXPECT_EQ(ColumnOf(*w).rects, resized.rects);
    }
  }
}

TEST_F(Graphs, TypingSTogglesTheEnvelopeAndEveryCharacterRebuilds) {
  RunDemo();
  PlotWindow* before = Plot();
  before->setFocus();
  QTest::keyClick(before, Qt::Key_S);
  Settle();
  EXPECT_EQ(State().FftEnvelope, 0);
  EXPECT_NE(Plot(), before);
  before = Plot();
  QTest::keyClick(before, Qt::Key_X);
  Settle();
  EXPECT_EQ(State().FftEnvelope, 0);
  EXPECT_NE(Plot(), before);
  QTest::keyClick(Plot(), Qt::Key_S, Qt::ShiftModifier);
  Settle();
  EXPECT_EQ(State().FftEnvelope, 1);
  before = Plot();
  QTest::keyClick(before, Qt::Key_Return);  // not printable, still a character
  Settle();
  EXPECT_NE(Plot(), before);
}

}  // namespace
}  // namespace tz::test
