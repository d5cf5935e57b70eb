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

int main(int argc, char** argv) {
  // Before anything is opened: no file may take the place of a closed
  // standard stream, and no signal may leave a temporary file behind.
  if (!tz::OpenStandardDescriptors()) return 1;
  tz::RemoveTemporaryFilesOnSignals();
  QApplication app(argc, argv);  // takes Qt's own options out of argv
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
    tz::MakeNamesAbsolute(start);
  }

  tz::MainWindow window;
  window.ShowAtStart();
  window.Start(start);
  return app.exec();
}
