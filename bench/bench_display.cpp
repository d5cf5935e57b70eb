// The desktop side of bench/run: a full-capacity run in the desktop program
// against the batch command, and a full repaint of each display of that run,
// offscreen at 1600 x 1000. Rows as the table program prints them.
//
//   torzalen-bench-display CLI WORKDIR INPUT_FULL
#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/dispatcher.h"
#include "bench/bench_support.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "display/display.h"
#include "run/run_processing.h"

namespace {

using namespace bench;

// A row of two times in one unit (scale: units per second).
void TimeRow(const std::string& what, double ours, double ref, const char* unit, double scale) {
  const std::string format = std::string("%.1f ") + unit;
  Row(what, Fmt(format.c_str(), ours * scale), Fmt(format.c_str(), ref * scale), ours / ref);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s CLI WORKDIR INPUT_FULL\n", argv[0]);
    return 2;
  }
  Launcher::Start();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string cli = argv[1], dir = argv[2], in = argv[3];
  tz::UiHooks hooks;
  hooks.messageBox = [](QWidget*, const tz::Message&) {};
  hooks.fileDialog = [](QWidget*, const tz::FileDialogSetup&, const std::string&) {
    return std::optional<std::string>();
  };
  tz::MainWindow w(hooks);
  w.resize(1600, 1000);
  w.show();
  QApplication::processEvents();

  std::vector<double> gui, batch;
  for (int i = 0; i < 5; ++i) {
    const auto a = Clock::now();
    w.Dispatcher().TakeInputAndOutputs(tz::InputKind::Vbt, in, dir + "/gui.TDM", dir + "/gui.FDM");
    gui.push_back(Seconds(a, Clock::now()));
    batch.push_back(RunCli(cli, in, dir + "/cli.TDM", dir + "/cli.FDM").seconds);
  }
  TimeRow("desktop run, full capacity, vs the batch command in turns (target at most 1.1 x)", Median(gui), Median(batch), "s", 1);
  {  // the run's own cost: no start-up, no painting
    tz::SilentPlatform silent;
    std::vector<double> t;
    for (int i = 0; i < 3; ++i) {
      const auto a = Clock::now();
      tz::RunProcessing(w.NextRecord(), silent);
      t.push_back(Seconds(a, Clock::now()));
    }
    TimeRow("  the same run in this process, nothing shown, vs the batch command", Median(t),
        Median(batch), "s", 1);
  }
  if (tz::StatisticsDialog* s = w.Platform().Statistics()) s->accept();
  QApplication::processEvents();

  tz::Display& g = w.Graphs();
  struct Choice {
    tz::DisplayChoice show;
    const char* name;
  };
  const Choice choices[] = {{tz::DisplayChoice::ShowFft, "FFT graph"},
                            {tz::DisplayChoice::Show3RpmFilt, "three graphs, RPM filtered"},
                            {tz::DisplayChoice::Show3RpmInst, "three graphs, RPM unfiltered"},
                            {tz::DisplayChoice::ShowRpmFilt, "RPM filtered"},
                            {tz::DisplayChoice::ShowRpmInst, "RPM unfiltered"},
                            {tz::DisplayChoice::ShowTorque, "torque"},
                            {tz::DisplayChoice::ShowPower, "power"}};
  for (const Choice& c : choices) {
    g.State().Show = c.show;
    g.RebuildDisplay();
    QApplication::processEvents();
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) {
      const auto a = Clock::now();
      const QPixmap p = g.Plot()->grab();
      t.push_back(Seconds(a, Clock::now()));
    }
    TimeRow(std::string("repaint, ") + c.name + ", vs the 20 ms target", Median(t), 0.020, "ms", 1e3);
  }
  return 0;
}
