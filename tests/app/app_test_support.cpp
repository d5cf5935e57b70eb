#include "app_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <regex>

#include "app/dispatcher.h"
#include "ui/resource.h"


namespace tz::test {

UiHooks Answers::Hooks() {
  UiHooks h;
  h.fileDialog = [this](QWidget*, const FileDialogSetup& setup, const std::string& current) {
    asked.push_back({setup.kind, setup.title, FilterText(setup).toStdString(), setup.extension, current});
    if (files.empty()) {
      ADD_FAILURE() << "unexpected file dialog \"" << setup.title << "\"";
      return std::optional<std::string>();
    }
    auto answer = files.front();
    files.pop_front();
    return answer;
  };
  h.messageBox = [this](QWidget* owner, const Message& m) {
    messages.push_back(m);
    owners.push_back(owner);
    if (onMessage) onMessage(m);
  };
  h.printDialog = [this](QWidget*, QPrinter& printer) {
    ++printDialogs;
    if (!printFile) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(*printFile));
    return true;
  };
  h.previewDialog = [this](QWidget*, QPrinter& printer,
                           const std::function<void(QPrinter&)>& paint) {
    ++previews;
    if (!printFile) return;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(*printFile));
    paint(printer);
  };
  // Never the user's settings: a file that lives as long as the test program.
  static const TempDir settingsDir;
  h.settingsFile = settingsFile.empty() ? settingsDir.Path("settings.ini") : settingsFile;
  return h;
}

std::vector<std::string> Answers::Titles() const {
  std::vector<std::string> out;
  for (const auto& a : asked) out.push_back(a.title);
  return out;
}

std::unique_ptr<MainWindow> MakeWindow(Answers& answers) {
  auto w = std::make_unique<MainWindow>(answers.Hooks());
  w->ShowAtStart();
  w->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
  return w;
}

void OpenVbt(MainWindow& w, Answers& answers, const std::string& input, const TempDir& dir,
             const std::string& name) {
  answers.files = {input, dir.Path(name + ".TDM"), dir.Path(name + ".FDM")};
  w.Dispatcher().Dispatch(res::kCmdOpenVbt);
}

void OpenDemo(MainWindow& w, Answers& answers, const TempDir& dir) {
  OpenVbt(w, answers, SourcePath("samples/demo.VBT"), dir);
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

CliRun RunCli(const std::string& input, const std::string& tdm, const std::string& fdm) {
  const CommandResult r = RunCommand(std::string(TZ_CLI) + " -q --json " + Quote(input) + " " +
                                     Quote(tdm) + " " + Quote(fdm));
  return {r.status, r.out, r.err};
}

std::string JsonField(const std::string& json, const std::string& key) {
  const std::regex re("\"" + key + "\": (\"([^\"]*)\"|([^,}]*))");
  std::smatch m;
  if (!std::regex_search(json, m, re)) return "<missing>";
  return m[2].matched ? m[2].str() : m[3].str();
}

void WhenModal(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

void Settle(int ms) {
  QTest::qWait(ms);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace tz::test
