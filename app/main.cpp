// torzalen: the desktop program.
#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "app/headless_export.h"
#include "app/main_window.h"
#include "processing/files.h"
#include "app/start_args.h"

int main(int argc, char** argv) {
  // Before anything is opened: no file may take the place of a closed
  // standard stream, and no signal may leave a temporary file behind.
  if (!tz::OpenStandardDescriptors()) return 1;
  tz::RemoveTemporaryFilesOnSignals();
  // The arguments are read before Qt starts: the usage and a wrong argument
  // need no display.
  std::vector<std::string> args(argv + 1, argv + argc);
  tz::StartArgs start;
  tz::PictureArgs pictures;
  std::string error;
  switch (tz::ParseStartArgs(args, start, &pictures, error)) {
    case tz::StartParse::kHelp:
      std::fputs(tz::kStartUsage, stdout);
      return 0;
    case tz::StartParse::kUsageError:
      std::fprintf(stderr, "torzalen: %s\n%s", error.c_str(), tz::kStartUsage);
      return 2;
    case tz::StartParse::kRun:
      break;
  }
  // An input named, or one the pictures need, is a file the window can read
  // again (F10): not a folder, a pipe or a device; the reason is the system's.
  if (!start.input.empty() || !pictures.requests.empty()) {
    if (const std::string why = tz::NotAnInputFile(start.input); !why.empty()) {
      std::fprintf(stderr, "torzalen: %s: %s\n", start.input.c_str(), why.c_str());
      return 2;
    }
    tz::MakeNamesAbsolute(start);
  }
  if (tz::PictureNamesClash(start, pictures, error)) {
    std::fprintf(stderr, "torzalen: %s\n", error.c_str());
    return 2;
  }

  if (!pictures.requests.empty()) {
    // Pictures need no window and no display: the offscreen platform,
    // whatever the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    tz::QuietQtMessages();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    return tz::RunPictureExport(start, pictures);
  }

  // The command line is the program's own: Qt gets the program's name only
  // (its settings come from the environment, QT_QPA_PLATFORM and the like).
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  tz::MainWindow window;
  window.ShowAtStart();
  window.Start(start);
  return app.exec();
}
