#include "app/headless_export.h"

#include <QCoreApplication>
#include <QLayout>
#include <cstdio>

#include "app/dispatcher.h"
#include "app/main_window.h"
#include "app/print_export.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "display/display.h"
#include "display/display_settings_dialog.h"

namespace tz {

namespace {

// The graph button of each display.
DisplayChoice GraphOf(PictureDisplay display) {
  switch (display) {
    case PictureDisplay::Fft:
    case PictureDisplay::FftLines: return DisplayChoice::ShowFft;
    case PictureDisplay::Three: return DisplayChoice::Show3RpmFilt;
    case PictureDisplay::ThreeUnfiltered: return DisplayChoice::Show3RpmInst;
    case PictureDisplay::Rpm: return DisplayChoice::ShowRpmFilt;
    case PictureDisplay::RpmUnfiltered: return DisplayChoice::ShowRpmInst;
    case PictureDisplay::Torque: return DisplayChoice::ShowTorque;
    case PictureDisplay::Power: return DisplayChoice::ShowPower;
  }
  return DisplayChoice::ShowFft;
}

// Lets the layouts place what a resize or a rebuild changed.
void LayOutNow() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// The run's message boxes, without a window: "CAPTION: TEXT" on stderr, as
// the batch command writes them.
void PrintMessage(QWidget*, const Message& m) {
  std::fprintf(stderr, "%s: %s\n", m.caption.c_str(), m.text.c_str());
  std::fflush(stderr);
}

// Nothing is asked without a window: the outputs come from the command line.
std::optional<std::string> NoFile(QWidget*, const FileDialogSetup&, const std::string&) {
  return std::nullopt;
}

}  // namespace

void QuietQtMessages() {
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    std::fprintf(stderr, "%s\n", qPrintable(text));
  });
}

void SizeClientArea(MainWindow& window, int width, int height) {
  // The menu bar takes its height from the window's width: resize, let the
  // layout place the client area, and correct by what it took.
  window.resize(width, height);
  for (int i = 0; i < 3; ++i) {
    LayOutNow();
    const QSize client = window.Client()->size();
    if (client == QSize(width, height)) return;
    window.resize(window.width() + width - client.width(),
                  window.height() + height - client.height());
  }
  LayOutNow();
}

void ChooseDisplay(MainWindow& window, PictureDisplay display) {
  Display& graphs = window.Graphs();
  DisplayChoices choices = ChoicesOf(graphs.State());
  choices.graph = GraphOf(display);
  if (display == PictureDisplay::Fft || display == PictureDisplay::FftLines)
    choices.spectralLines = display == PictureDisplay::FftLines;
  StoreDisplayChoices(choices, graphs.State());
  graphs.ClearMarkers();
  graphs.RebuildDisplay();
  LayOutNow();
}

int RunPictureExport(const StartArgs& args, const PictureArgs& pictures) {
  UiHooks hooks;
  hooks.messageBox = PrintMessage;
  hooks.fileDialog = NoFile;
  MainWindow window(hooks);
  window.Platform().WriteReportsOnly();
  // A window of its own size that no screen shows: the widgets lay out and
  // paint as on a screen.
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.show();
  SizeClientArea(window, pictures.width, pictures.height);

  window.Dispatcher().TakeInputAndOutputs(KindFromExtension(args.input), args.input, args.tdm,
                                          args.fdm);
  if (!window.Dispatcher().LastRunCompleted()) return 1;
  // The statistics' OK, which shows the new run.
  if (StatisticsDialog* statistics = window.Platform().Statistics()) statistics->accept();
  LayOutNow();

  int status = 0;
  for (const PictureRequest& p : pictures.requests) {
    ChooseDisplay(window, p.display);
    std::string error;
    if (!WritePicture(window.Client(), p.file, error)) {
      std::fprintf(stderr, "torzalen: cannot write %s: %s\n", p.file.c_str(), error.c_str());
      status = 1;
    }
  }
  return status;
}

}  // namespace tz
