// A monkey at the real main window: a long seeded random sequence of keys
// (every accelerator, editing keys, plain characters), clicks on the plot,
// the panels and the dialogs, window sizes, and random answers to the file
// dialogs and message boxes, on the demo and on broken inputs. Nothing may
// crash (the sanitizer build reports what would), hang, leave a temporary
// file, or change an input. TZ_MONKEY_SECONDS bounds it (default 5),
// TZ_MONKEY_SEED chooses the sequence.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/dispatcher.h"
#include "app/main_window.h"
#include "app_test_support.h"
#include "display/display.h"

namespace tz::test {
namespace {

namespace fs = std::filesystem;

int EnvInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::atoi(v) : fallback;
}

// Ends the test program with the monkey's last actions when no step has
// ended for a while, or when all takes far longer than it should: a hang is
// a failure, not a wait for the time-out.
class Watchdog {
 public:
  Watchdog(int limitSeconds, int totalSeconds, std::function<std::string()> describe)
      : limit_(limitSeconds),
        total_(totalSeconds),
        describe_(std::move(describe)),
        thread_([this] { Watch(); }) {}
  ~Watchdog() {
    stop_ = true;
    thread_.join();
  }
  void Beat() { beats_.fetch_add(1, std::memory_order_relaxed); }

 private:
  void Watch() {
    long last = -1;
    const auto start = std::chrono::steady_clock::now();
    auto since = start;
    while (!stop_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      const long now = beats_.load(std::memory_order_relaxed);
      const auto at = std::chrono::steady_clock::now();
      if (now != last) {
        last = now;
        since = at;
      }
      const char* what = at - since > std::chrono::seconds(limit_)  ? "no step ended for long"
                         : at - start > std::chrono::seconds(total_) ? "it did not end in time"
                                                                      : nullptr;
      if (what != nullptr) {
        std::fprintf(stderr, "Monkey: %s; hung after:\n%s\n", what, describe_().c_str());
        std::abort();
      }
    }
  }
  int limit_, total_;
  std::function<std::string()> describe_;
  std::atomic<long> beats_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

class Monkey {
 public:
  Monkey(unsigned seed, const TempDir& dir) : rng_(seed) {
    const std::string demo = ReadFile(SourcePath("samples/demo.VBT"));
    WriteFile(dir.Path("demo.VBT"), demo);
    WriteFile(dir.Path("broken.VBT"),
              VbtFile("6611,1873\r\n-1,99999999999\r\nx,y\r\n\r\n6605,\r\n" +
                      std::string(300, ',') + "\r\n1,2,3\r\n"));
    WriteFile(dir.Path("cut.VBT"), demo.substr(0, demo.size() / 3));
    WriteFile(dir.Path("binary.TDM"), std::string("\0\xff\r\n\x7f" "ELF", 8));
    fs::create_directory(dir.Path("out"));
    pagePdf_ = dir.Path("out/page.pdf");
    fs::create_symlink("a.TDM", dir.Path("out/link.FDM"));
    inputs_ = {dir.Path("demo.VBT"), dir.Path("broken.VBT"), dir.Path("cut.VBT"),
               dir.Path("binary.TDM")};
    for (const std::string& in : inputs_) contents_.push_back(ReadFile(in));
    // Outputs are inputs too once written, so that a run may be asked to
    // write its own input; other answers refused: a folder, a missing
    // folder, a link to the other output. The first inputs are never named
    // as outputs (a name stays chosen for later runs), so they must stay.
    openPool_ = inputs_;
    for (const char* name : {"out/a.TDM", "out/a.FDM", "out/b.TDM", "out/b.FDM"})
      openPool_.push_back(dir.Path(name));
    savePool_ = {dir.Path("out/a.TDM"), dir.Path("out/a.FDM"), dir.Path("out/b.TDM"),
                 dir.Path("out/b.FDM"), dir.Path("out/link.FDM"), dir.Path("out"),
                 dir.Path("missing/x.TDM")};
  }

  UiHooks Hooks() {
    UiHooks h;
    h.fileDialog = [this](QWidget*, const FileDialogSetup& setup, const std::string&) {
      ++fileDialogs_;
      const std::optional<std::string> answer = FileAnswer(setup);
      Log(std::string("  \"") + setup.title + "\": " + (answer ? *answer : "cancel"));
      return answer;
    };
    h.messageBox = [this](QWidget*, const Message& m) {
      ++messages_;
      Log("  message " + m.caption + ": " + m.text);
    };
    // Printing goes to a PDF file, or is cancelled; the preview paints its
    // page into the file.
    h.printDialog = [this](QWidget*, QPrinter& printer) {
      ++fileDialogs_;
      const bool print = !Chance(15);
      Log(std::string("  \"Print\": ") + (print ? pagePdf_ : "cancel"));
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pagePdf_));
      return print;
    };
    h.previewDialog = [this](QWidget*, QPrinter& printer,
                             const std::function<void(QPrinter&)>& paint) {
      ++fileDialogs_;
      Log("  \"Print preview\"");
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(pagePdf_));
      paint(printer);
    };
    return h;
  }

  std::optional<std::string> FileAnswer(const FileDialogSetup& setup) {
    if (Chance(15)) return std::nullopt;
    // Mostly the demo and one pair of outputs, so that runs get far.
    if (setup.kind == FileDialogKind::Open) return Chance(50) ? inputs_[0] : Pick(openPool_);
    if (Chance(70)) return setup.extension == std::string("TDM") ? savePool_[0] : savePool_[1];
    return Pick(savePool_);
  }

  void Attach(MainWindow& w) { w_ = &w; }

  // Steps one after another until Stop. Each step asks for the next before
  // it acts, so that the steps go on inside the modal dialogs it opens (a
  // timer is never called again while its call is running).
  // After the given time it only closes the modal dialogs still open.
  void Start(int seconds) {
    active_ = true;
    seconds_ = seconds;
    clock_.start();
    Next(0);
  }
  bool Done() const { return clock_.elapsed() >= seconds_ * 1000LL; }
  void Stop() { active_ = false; }

 private:
  void Next(int ms) {
    QTimer::singleShot(ms, w_, [this] { Step(); });
  }

  // One random action, none while a run goes on.
  void Step() {
    if (!active_) return;
    if (w_->Dispatcher().Running()) {
      Next(1);
      return;
    }
    Next(0);
    QWidget* modal = QApplication::activeModalWidget();
    if (Done()) {
      // As its own button would (Help and About ignore Escape).
      if (auto* d = qobject_cast<QDialog*>(modal)) d->done(QDialog::Rejected);
      else if (modal != nullptr) modal->close();
      if (onStep) onStep();
      return;
    }
    ++depth_;
    ++steps_;
    if (modal != nullptr && (depth_ > 4 || Chance(20))) {
      Log("close modal " + modal->objectName().toStdString());
      if (auto* d = qobject_cast<QDialog*>(modal)) {
        if (Chance(50)) d->reject(); else d->accept();
      } else {
        modal->close();
      }
    } else {
      QWidget* window = modal != nullptr ? modal : TargetWindow();
      // Where the user acts is the active window, as a click makes it.
      if (QApplication::activeWindow() != window) window->activateWindow();
      const int what = Number(100);
      if (what < 45) Key(window);
      else if (what < 85) Click(window);
      else if (what < 90 && modal == nullptr) Resize();
      else if (what < 95 && modal == nullptr) CloseADialog();
      else Type(window);
    }
    --depth_;
    if (onStep) onStep();
  }

 public:
  // The inputs whose content is not what it was.
  std::vector<std::string> ChangedInputs() const {
    std::vector<std::string> changed;
    for (size_t i = 0; i < inputs_.size(); ++i)
      if (ReadFile(inputs_[i]) != contents_[i]) changed.push_back(inputs_[i]);
    return changed;
  }
  std::string Recent() const {
    std::string out;
    for (const std::string& l : log_) out += "  " + l + "\n";
    return out;
  }
  long Steps() const { return steps_; }
  long FileDialogs() const { return fileDialogs_; }
  long Messages() const { return messages_; }
  std::function<void()> onStep;

 private:
  bool Chance(int percent) { return Number(100) < percent; }
  int Number(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  template <typename T>
  const T& Pick(const std::vector<T>& v) { return v[static_cast<size_t>(Number(static_cast<int>(v.size())))]; }

  void Log(const std::string& action) {
    log_.push_back(std::to_string(steps_) + ": " + action);
    if (log_.size() > 60) log_.pop_front();
  }

  // The main window mostly, or one of the program's other windows on screen.
  QWidget* TargetWindow() {
    if (!w_->isVisible()) {
      Log("show the main window again");
      w_->ShowAtStart();
    }
    std::vector<QWidget*> windows;
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->isVisible() && t != w_) windows.push_back(t);
    if (windows.empty() || Chance(70)) return w_;
    return Pick(windows);
  }

  void Key(QWidget* window) {
    static const std::vector<Qt::Key> keys = {
        Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7,
        Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_F11, Qt::Key_F12, Qt::Key_Escape,
        Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Left, Qt::Key_Right,
        Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End,
        Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Space, Qt::Key_Plus, Qt::Key_Minus,
        Qt::Key_X, Qt::Key_A, Qt::Key_Z, Qt::Key_0, Qt::Key_9, Qt::Key_Period};
    Qt::Key key = Pick(keys);
    Qt::KeyboardModifiers mods = Qt::NoModifier;
    if (Chance(8)) mods = Qt::AltModifier;  // Alt+X among them
    else if (Chance(8)) mods = Qt::ShiftModifier;
    else if (Chance(5)) mods = Qt::ControlModifier;
    // In a modal dialog the function keys come seldom, so that dialogs end.
    if (QApplication::activeModalWidget() != nullptr && key >= Qt::Key_F1 && key <= Qt::Key_F12 &&
        !Chance(20))
      key = Qt::Key_Tab;
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != window) target = window;
    Log("key " + QKeySequence(key | mods).toString().toStdString() + " in " +
        target->metaObject()->className());
    QTest::keyClick(target, key, mods);
  }

  void Type(QWidget* window) {
    static const char kChars[] = "0123456789.eE+-, abcXYZ%/\\\t";
    std::string text;
    const int n = 1 + Number(Chance(10) ? 40 : 6);
    for (int i = 0; i < n; ++i) text += kChars[Number(sizeof kChars - 1)];
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr || target->window() != window) target = window;
    Log("type \"" + text + "\" in " + target->metaObject()->className());
    QTest::keyClicks(target, QString::fromLatin1(text.c_str()));
  }

  void Click(QWidget* window) {
    std::vector<QWidget*> widgets{window};
    for (QWidget* c : window->findChildren<QWidget*>())
      if (c->isVisible() && c->isEnabled() && c->width() > 0 && c->height() > 0) widgets.push_back(c);
    QWidget* target = widgets[static_cast<size_t>(Number(static_cast<int>(widgets.size())))];
    // The plot gets a good share: its markers.
    if (window == w_ && w_->Graphs().Plot() != nullptr && Chance(30)) target = w_->Graphs().Plot();
    const QPoint at(Number(std::max(1, target->width())), Number(std::max(1, target->height())));
    const Qt::MouseButton button = Chance(80) ? Qt::LeftButton : Chance(50) ? Qt::RightButton : Qt::MiddleButton;
    Log("click " + std::to_string(at.x()) + "," + std::to_string(at.y()) + " on " +
        target->metaObject()->className() + " " + target->objectName().toStdString());
    QPointer<QWidget> guard(target);
    if (Chance(10)) QTest::mouseDClick(target, button, Qt::NoModifier, at);
    else QTest::mouseClick(target, button, Qt::NoModifier, at);
  }

  void Resize() {
    const int width = 200 + Number(1400), height = 150 + Number(900);
    Log("resize " + std::to_string(width) + "x" + std::to_string(height));
    w_->showNormal();
    w_->resize(width, height);
  }

  // F5 makes a new parameters dialog each time: some go again.
  void CloseADialog() {
    std::vector<QWidget*> dialogs;
    for (QWidget* t : QApplication::topLevelWidgets())
      if (t->isVisible() && t != w_ && qobject_cast<QDialog*>(t) != nullptr) dialogs.push_back(t);
    if (dialogs.empty()) return;
    QWidget* d = Pick(dialogs);
    Log(std::string("close ") + d->metaObject()->className());
    d->close();
  }

  std::mt19937 rng_;
  MainWindow* w_ = nullptr;
  std::vector<std::string> inputs_, contents_, openPool_, savePool_;
  std::string pagePdf_;
  std::deque<std::string> log_;
  long steps_ = 0, fileDialogs_ = 0, messages_ = 0;
  int depth_ = 0;
  bool active_ = false;
  int seconds_ = 0;
  QElapsedTimer clock_;
};

bool HiddenFileIn(const std::string& dir) {
  for (const auto& e : fs::directory_iterator(dir))
    if (e.path().filename().string().starts_with(".")) return true;
  return false;
}

TEST(Monkey, NothingItDoesCrashesHangsOrTouchesAnInput) {
  const int seconds = EnvInt("TZ_MONKEY_SECONDS", 5);
  const unsigned seed = static_cast<unsigned>(EnvInt("TZ_MONKEY_SEED", 7731));
  SCOPED_TRACE("TZ_MONKEY_SEED=" + std::to_string(seed));
  const std::string sample = ReadFile(SourcePath("samples/demo.VBT"));
  TempDir dir;
  Monkey monkey(seed, dir);
  // The window closed by Alt+X comes back; the program must not quit meanwhile.
  const bool quitOnClose = QApplication::quitOnLastWindowClosed();
  QApplication::setQuitOnLastWindowClosed(false);
  {
    auto w = std::make_unique<MainWindow>(monkey.Hooks());
    monkey.Attach(*w);
    w->ShowAtStart();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    Watchdog watchdog(60, seconds + 120, [&] { return monkey.Recent(); });
    monkey.onStep = [&] { watchdog.Beat(); };

    monkey.Start(seconds);
    while (!monkey.Done() || QApplication::activeModalWidget() != nullptr) {
      QTest::qWait(50);
      watchdog.Beat();
    }
    monkey.Stop();
    Settle();
    std::printf("Monkey: seed %u, %ld steps, %ld file dialogs, %ld messages in %d s\n", seed,
                monkey.Steps(), monkey.FileDialogs(), monkey.Messages(), seconds);
    EXPECT_GT(monkey.Steps(), 50);
    EXPECT_EQ(monkey.ChangedInputs(), std::vector<std::string>()) << monkey.Recent();
    EXPECT_FALSE(HiddenFileIn(dir.Path("out"))) << monkey.Recent();
    EXPECT_FALSE(HiddenFileIn(dir.Dir())) << monkey.Recent();

    // And the program still works.
    monkey.onStep = nullptr;
    Answers answers;
    w->Hooks() = answers.Hooks();
    if (!w->isVisible()) w->ShowAtStart();
    TempDir after;
    OpenDemo(*w, answers, after);
    EXPECT_TRUE(ReadFile(after.Path("a.TDM")).starts_with("Vibrotorsional Time Domain Analysis"))
        << monkey.Recent();
  }
  QApplication::setQuitOnLastWindowClosed(quitOnClose);
  EXPECT_EQ(ReadFile(SourcePath("samples/demo.VBT")), sample);
}

}  // namespace
}  // namespace tz::test
