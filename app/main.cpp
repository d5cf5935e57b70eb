// torzalen: the desktop program.
#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/main_window.h"
#include "processing/files.h"
#include "app/start_args.h"

namespace {

std::string Absolute(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  tz::RemoveTemporaryFilesOnSignals();  // a session ended in a run leaves no half-written file
  std::vector<std::string> args(argv + 1, argv + argc);
  tz::StartArgs start;
  switch (tz::ParseStartArgs(args, start)) {
    case tz::StartParse::kHelp:
      std::fputs(tz::kStartUsage, stdout);
      return 0;
    case tz::StartParse::kUsageError:
      std::fputs(tz::kStartUsage, stderr);
      return 2;
    case tz::StartParse::kRun:
      break;
  }
  if (!start.input.empty()) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(start.input, ec)) {
      std::fprintf(stderr, "torzalen: %s: no such file\n", start.input.c_str());
      return 2;
    }
    start.input = Absolute(start.input);
    if (!start.tdm.empty()) start.tdm = Absolute(start.tdm), start.fdm = Absolute(start.fdm);
  }

  tz::MainWindow window;
  window.ShowAtStart();
  window.Start(start);
  return app.exec();
}
