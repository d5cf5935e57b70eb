#include "app_test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>


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
  h.messageBox = [this](QWidget*, const Message& m) {
    messages.push_back(m);
    if (onMessage) onMessage(m);
  };
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

TempDir::TempDir() {
  std::string templ = (std::filesystem::temp_directory_path() / "tz-app-XXXXXX").string();
  char* made = mkdtemp(templ.data());
  if (made == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
}

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::string SourcePath(const std::string& rel) { return std::string(TZ_SOURCE_DIR) + "/" + rel; }

namespace {
std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}
}  // namespace

CliRun RunCli(const std::string& input, const std::string& tdm, const std::string& fdm) {
  TempDir errDir;
  const std::string errFile = errDir.Path("stderr");
  const std::string cmd = std::string(TZ_CLI) + " -q --json " + Quote(input) + " " + Quote(tdm) +
                          " " + Quote(fdm) + " 2>" + Quote(errFile);
  CliRun run;
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) return run;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.json.append(buf, n);
  const int status = pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFile(errFile);
  return run;
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
