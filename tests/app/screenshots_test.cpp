// Pictures of the main window after a run and of every dialog of the
// program, for a look by eye: written only when TZ_SCREENSHOTS names a folder.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include "app/about_dialog.h"
#include "app/app_icon.h"
#include "app/dispatcher.h"
#include "app/help_dialog.h"
#include "app/message_box.h"
#include "app/progress_dialog.h"
#include "app/qt_platform.h"
#include "app/resource.h"
#include "app/statistics_dialog.h"
#include "settings/fft_source_dialog.h"
#include "settings/fft_window_dialog.h"
#include "settings/filtering_settings_dialog.h"
#include "settings/parameters_dialog.h"
#include "app/widget_id.h"
#include "display/display.h"
#include "app_test_support.h"

namespace tz::test {
namespace {

void Save(QWidget* w, const QString& dir, const char* name) {
  w->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  Settle();
  EXPECT_TRUE(w->grab().save(dir + "/" + name + ".png"));
}

// The main window at the size the pictures are taken at.
std::unique_ptr<MainWindow> ShotWindow(Answers& answers) {
  auto w = MakeWindow(answers);
  w->showNormal();
  w->resize(1600, 1000);
  Settle();
  return w;
}

TEST(Screenshots, OfTheWindowsAndDialogs) {
  const QString dir = qEnvironmentVariable("TZ_SCREENSHOTS");
  if (dir.isEmpty()) GTEST_SKIP() << "set TZ_SCREENSHOTS to a folder to write them";
  TempDir tmp;
  Answers answers;
  auto w = ShotWindow(answers);
  // A run that ends with a message: the windows as they stand in the run.
  WriteFile(tmp.Path("short.VBT"), "no header\r\n");
  answers.onMessage = [&](const Message&) {
    w->grab().save(dir + "/main-during-run.png");
    w->Platform().Progress()->grab().save(dir + "/progress-during-run.png");
  };
  OpenVbt(*w, answers, tmp.Path("short.VBT"), tmp, "s");
  answers.onMessage = nullptr;

  OpenDemo(*w, answers, tmp);
  Save(w.get(), dir, "main-after-run");
  Save(w->Platform().Statistics(), dir, "statistics");
  w->Platform().Statistics()->accept();
  Save(w.get(), dir, "main-after-ok");

  // The settings dialogs with the demo's header and settings in them.
  ParametersDialog parameters(w->Record(), w.get());
  Save(&parameters, dir, "parameters");
  FilteringSettingsDialog filtering(w->Record(), [] {}, w.get());
  Save(&filtering, dir, "filtering-settings");
  FftWindowDialog fftWindow(w->Record(), [] {}, w.get());
  Save(&fftWindow, dir, "fft-window");
  FftSourceDialog fftSource(w->Record(), [] {}, [] {}, w.get());
  Save(&fftSource, dir, "fft-source");

  ProgressDialog progress(w.get());
  progress.SetPosition(37);
  progress.SetText("Appending input file to TDM output file ....");
  Save(&progress, dir, "progress");

  EXPECT_TRUE(AppIconPixmap(128).save(dir + "/icon-128.png"));
  AboutDialog about(w.get());
  Save(&about, dir, "about");
  HelpDialog help(w.get());
  Save(&help, dir, "help");
  help.resize(help.width(), 1000 - 40);
  Save(&help, dir, "help-1000");
}

// The main window with each display of the demo run, markers and zoom.
TEST(Screenshots, OfTheGraphs) {
  const QString dir = qEnvironmentVariable("TZ_SCREENSHOTS");
  if (dir.isEmpty()) GTEST_SKIP() << "set TZ_SCREENSHOTS to a folder to write them";
  TempDir tmp;
  Answers answers;
  auto w = ShotWindow(answers);
  OpenDemo(*w, answers, tmp);
  w->Platform().Statistics()->accept();
  Settle();
  Display& g = w->Graphs();
  auto shot = [&](const char* name) {
    g.RebuildDisplay();
    Settle();
    Save(w.get(), dir, name);
  };
  struct Choice {
    int DisplayState::*flag;
    const char* name;
  };
  auto show = [&g](int DisplayState::*flag) {
    DisplayState& s = g.State();
    s.ShowFft = s.Show3RpmFilt = s.Show3RpmInst = s.ShowRpmFilt = s.ShowRpmInst = 0;
    s.ShowTorque = s.ShowPower = 0;
    s.*flag = 1;
  };
  for (const Choice& c : {Choice{&DisplayState::ShowFft, "graph-fft"},
                          Choice{&DisplayState::Show3RpmFilt, "graph-3-rpm-filtered"},
                          Choice{&DisplayState::Show3RpmInst, "graph-3-rpm-unfiltered"},
                          Choice{&DisplayState::ShowRpmFilt, "graph-rpm-filtered"},
                          Choice{&DisplayState::ShowRpmInst, "graph-rpm-unfiltered"},
                          Choice{&DisplayState::ShowTorque, "graph-torque"},
                          Choice{&DisplayState::ShowPower, "graph-power"}}) {
    show(c.flag);
    shot(c.name);
  }
  DisplayState& s = g.State();
  show(&DisplayState::ShowFft);
  s.ShowHarmonics = 1;
  shot("graph-fft-harmonics");
  s.FftEnvelope = 0;
  s.CleanSpectrum = 1;
  shot("graph-fft-lines-clean");
  s.ShowHarmonicPeaks = 1;
  shot("graph-fft-peaks");
  s.ShowHarmonicPeaks = 0;
  s.CleanSpectrum = 0;
  s.FftEnvelope = 1;
  // Two FFT X markers, then the zoom between them.
  g.RebuildDisplay();
  Settle();
  w->grab();
  QTest::mouseClick(g.Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 300));
  FindById<QCheckBox>(g.Panel(PanelId::FftX), res::kFftXMarker2On)->click();
  QTest::mouseClick(g.Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(160, 300));
  Settle();
  Save(w.get(), dir, "graph-fft-markers");
  w->Dispatcher().Dispatch(res::kCmdXZoom);
  Settle();
  Save(w.get(), dir, "graph-fft-zoomed");
  w->Dispatcher().Dispatch(res::kCmdRestoreX);
  // Time markers on the three graphs.
  show(&DisplayState::Show3RpmFilt);
  g.RebuildDisplay();
  Settle();
  w->grab();
  FindById<QCheckBox>(g.Panel(PanelId::X), res::kXEnable)->click();
  QTest::mouseClick(g.Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
  FindById<QRadioButton>(g.Panel(PanelId::X), res::kXMarker2)->click();
  QTest::mouseClick(g.Plot(), Qt::LeftButton, Qt::NoModifier, QPoint(700, 200));
  FindById<QRadioButton>(g.Panel(PanelId::X), res::kXDelta)->click();
  Settle();
  Save(w.get(), dir, "graph-3-markers");

  // A later run's message over the graphs: the bar at the foot of the
  // panel column shows where the run stands.
  Generate(tmp.Path("long.VBT"), "--reverse --samples 100000");  // warns of its speed
  answers.onMessage = [&](const Message&) { w->grab().save(dir + "/graph-message-during-run.png"); };
  OpenVbt(*w, answers, tmp.Path("long.VBT"), tmp, "l");
  answers.onMessage = nullptr;
}

}  // namespace
}  // namespace tz::test
