// The desktop side of bench/run: a full-capacity run in the desktop program
// against the batch command, and a full repaint of each display of that run,
// offscreen at 1600 x 1000. Rows as the table program prints them.
//
//   torzalen-bench-display CLI WORKDIR INPUT_FULL
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/dispatcher.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "display/display.h"
#include "run/run_processing.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double>(b - a).count();
}
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
void Row(const std::string& what, double ours, double ref, const char* unit, double scale) {
  char o[32], r[32];
  std::snprintf(o, sizeof o, "%.1f %s", ours * scale, unit);
  std::snprintf(r, sizeof r, "%.1f %s", ref * scale, unit);
  std::printf("| %s | %s | %s | %.2f |\n", what.c_str(), o, r, ours / ref);
}

double CliRun(const std::string& cli, const std::string& in, const std::string& dir) {
  const auto a = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    const std::string tdm = dir + "/cli.TDM", fdm = dir + "/cli.FDM";
    execl(cli.c_str(), cli.c_str(), "-q", in.c_str(), tdm.c_str(), fdm.c_str(), nullptr);
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return Seconds(a, Clock::now());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s CLI WORKDIR INPUT_FULL\n", argv[0]);
    return 2;
  }
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
  for (int i = 0; i < 3; ++i) {
    const auto a = Clock::now();
    w.Dispatcher().TakeInputAndOutputs(tz::InputKind::Vbt, in, dir + "/gui.TDM", dir + "/gui.FDM");
    gui.push_back(Seconds(a, Clock::now()));
    batch.push_back(CliRun(cli, in, dir));
  }
  Row("desktop run, full capacity, vs the batch command", Median(gui), Median(batch), "s", 1);
  {  // the run's own cost: no start-up, no painting
    struct Silent : tz::PlatformOps {
      void ShowMessage(const char*, const char*) override {}
      void DebugOutput(const std::string&) override {}
      bool CreateProgressDialog() override { return true; }
      void ShowProgressDialog() override {}
      void DestroyProgressDialog() override {}
      void ShowToolbarProgress(bool) override {}
      void SetProgressPosition(int) override {}
      void SetProgressText(const char*) override {}
      bool CreateStatisticsDialog() override { return true; }
      void SetStatisticsFields(const char*, const char*, const char*) override {}
      void ShowStatisticsDialog() override {}
    } silent;
    std::vector<double> t;
    for (int i = 0; i < 3; ++i) {
      const auto a = Clock::now();
      tz::RunProcessing(w.Record(), silent);
      t.push_back(Seconds(a, Clock::now()));
    }
    Row("  the same run in this process, nothing shown, vs the batch command", Median(t),
        Median(batch), "s", 1);
  }
  if (tz::StatisticsDialog* s = w.Platform().Statistics()) s->accept();
  QApplication::processEvents();

  tz::Display& g = w.Graphs();
  struct Choice {
    int tz::DisplayState::*flag;
    const char* name;
  };
  const Choice choices[] = {{&tz::DisplayState::ShowFft, "FFT graph"},
                            {&tz::DisplayState::Show3RpmFilt, "three graphs, RPM filtered"},
                            {&tz::DisplayState::Show3RpmInst, "three graphs, RPM unfiltered"},
                            {&tz::DisplayState::ShowRpmFilt, "RPM filtered"},
                            {&tz::DisplayState::ShowRpmInst, "RPM unfiltered"},
                            {&tz::DisplayState::ShowTorque, "torque"},
                            {&tz::DisplayState::ShowPower, "power"}};
  for (const Choice& c : choices) {
    tz::DisplayState& s = g.State();
    s.ShowFft = s.Show3RpmFilt = s.Show3RpmInst = s.ShowRpmFilt = s.ShowRpmInst = 0;
    s.ShowTorque = s.ShowPower = 0;
    s.*c.flag = 1;
    g.RebuildDisplay();
    QApplication::processEvents();
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) {
      const auto a = Clock::now();
      const QPixmap p = g.Plot()->grab();
      t.push_back(Seconds(a, Clock::now()));
    }
    Row(std::string("repaint, ") + c.name + ", vs the 20 ms target", Median(t), 0.020, "ms", 1e3);
  }
  return 0;
}
