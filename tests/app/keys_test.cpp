// The function keys and Alt+X reach their commands wherever the focus is:
// in the main window, in the plot window, in a modeless dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "app/dispatcher.h"
#include "app/qt_platform.h"
#include "app/statistics_dialog.h"
#include "app_test_support.h"
#include "display/display.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

struct KeyCase {
  QKeyCombination key;
  int command;
  int modalDialog;      // identifier of the modal dialog it opens (closed again), or 0
  int fileDialogs;      // file dialogs it asks (each cancelled)
  int messages;
};

const KeyCase kKeys[] = {
    {Qt::Key_F1, res::kCmdHelp, res::kDlgHelp, 0, 0},
    {Qt::Key_F2, res::kCmdOpenVbt, 0, 1, 0},
    {Qt::Key_F3, res::kCmdOpenFdm, 0, 1, 0},
    {Qt::Key_F4, res::kCmdSaveAsFdm, 0, 1, 0},
    {Qt::Key_F5, res::kCmdParameters, 0, 0, 0},
    {Qt::Key_F6, res::kCmdFilteringSettings, res::kDlgFilterSettings, 0, 0},
    {Qt::Key_F7, res::kCmdDisplayControl, res::kDlgDisplaySettings, 0, 0},
    {Qt::Key_F8, res::kCmdXZoom, 0, 0, 1},  // no markers set: one message
    {Qt::Key_F9, res::kCmdRestoreX, 0, 0, 0},
    {Qt::Key_F10, res::kCmdProcessFile, 0, 0, 0},
    {Qt::Key_F11, res::kCmdPrint, 0, 0, 0},  // its print dialog, cancelled
    {Qt::Key_F12, res::kCmdFftFiltering, res::kDlgFftWindow, 0, 0},
    // The keys desktop users reach for out of habit.
    {Qt::CTRL | Qt::Key_O, res::kCmdOpenVbt, 0, 1, 0},
    {Qt::CTRL | Qt::Key_P, res::kCmdPrint, 0, 0, 0},
};

// Presses every key with the focus in the widget that focusIn() gives, and
// checks that exactly its command ran. Without a file, Process File reports
// that the (empty) input cannot be opened.
void PressAllKeys(MainWindow& w, Answers& answers, const std::function<QWidget*()>& focusIn,
                  bool withFile = false) {
  QSignalSpy started(&w.Dispatcher(), &CommandDispatcher::CommandStarted);
  for (const KeyCase& k : kKeys) {
    started.clear();
    answers.asked.clear();
    answers.messages.clear();
    for (int i = 0; i < k.fileDialogs; ++i) answers.files.push_back(std::nullopt);
    QWidget* target = focusIn();
    ASSERT_NE(target, nullptr);
    target->activateWindow();
    target->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(target->window()));
    int closed = 0;
    if (k.modalDialog != 0) WhenModal([&](QDialog* d) {
        closed = d->objectName() == IdName(k.modalDialog) ? k.modalDialog : -1;
        d->done(0);
      });
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : target,
                    k.key.key(), k.key.keyboardModifiers());
    ASSERT_EQ(started.count(), 1) << "key " << QKeySequence(k.key).toString().toStdString();
    EXPECT_EQ(started[0][0].toInt(), k.command);
    EXPECT_EQ(closed, k.modalDialog) << k.command;
    EXPECT_EQ(answers.asked.size(), static_cast<size_t>(k.fileDialogs)) << k.command;
    const int openingFailure = k.command == res::kCmdProcessFile && !withFile ? 1 : 0;
    EXPECT_EQ(answers.messages.size(), static_cast<size_t>(k.messages + openingFailure))
        << k.command;
    Settle(5);
  }
}

TEST(Keys, ReachTheirCommandsFromTheMainWindow) {
  Answers answers;
  auto w = MakeWindow(answers);
  PressAllKeys(*w, answers, [&] { return w.get(); });
}

TEST(Keys, ReachTheirCommandsFromThePlotWindow) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->Graphs().RebuildDisplay();
  PressAllKeys(*w, answers, [&]() -> QWidget* { return w->Graphs().Plot(); });
}

TEST(Keys, ReachTheirCommandsFromTheModelessStatisticsDialog) {
  TempDir dir;
  Answers answers;
  auto w = MakeWindow(answers);
  OpenDemo(*w, answers, dir);
  ASSERT_NE(w->Platform().Statistics(), nullptr);
  // F10 runs again and makes a new statistics dialog: follow it.
  PressAllKeys(*w, answers, [&]() -> QWidget* {
    StatisticsDialog* s = w->Platform().Statistics();
    return s != nullptr ? static_cast<QWidget*>(s->Total()) : nullptr;
  }, true);
}

TEST(Keys, ReachTheirCommandsFromTheModelessParametersDialog) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->Dispatcher().Dispatch(res::kCmdParameters);
  QPointer<QDialog> params = w->Dispatcher().ParamDialog();
  ASSERT_NE(params, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(params));
  PressAllKeys(*w, answers, [&]() -> QWidget* { return params; });
}

TEST(Keys, AltXAndCtrlQCloseTheMainWindowFromAChildWindow) {
  for (const QKeyCombination key : {Qt::ALT | Qt::Key_X, Qt::CTRL | Qt::Key_Q}) {
    SCOPED_TRACE(QKeySequence(key).toString().toStdString());
    Answers answers;
    auto w = MakeWindow(answers);
    w->Dispatcher().Dispatch(res::kCmdParameters);
    QDialog* params = w->Dispatcher().ParamDialog();
    ASSERT_NE(params, nullptr);
    params->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(params));
    QSignalSpy started(&w->Dispatcher(), &CommandDispatcher::CommandStarted);
    QTest::keyClick(params, key.key(), key.keyboardModifiers());
    ASSERT_EQ(started.count(), 1);
    EXPECT_EQ(started[0][0].toInt(), res::kCmdExit);
    EXPECT_TRUE(w->isVisible());  // the close is posted
    Settle();
    EXPECT_FALSE(w->isVisible());
  }
}

// The menus keep showing each command's own key, the second one unshown.
TEST(Keys, MenusShowTheCommandsOwnKeys) {
  Answers answers;
  auto w = MakeWindow(answers);
  EXPECT_EQ(w->Action(res::kCmdPrint)->text().toStdString(), "Print \tF11");
  EXPECT_EQ(w->Action(res::kCmdPrint)->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_EQ(w->Action(res::kCmdExit)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
}

TEST(Keys, CommandsWithoutAKeyOpenTheirDialogs) {
  Answers answers;
  auto w = MakeWindow(answers);
  const struct {
    int command, dialog;
  } cases[] = {{res::kCmdFftInput, res::kDlgFftSource}, {res::kCmdAbout, res::kDlgAbout}};
  for (const auto& c : cases) {
    int seen = 0;
    WhenModal([&](QDialog* d) {
      seen = d->objectName() == IdName(c.dialog) ? c.dialog : -1;
      d->done(0);
    });
    w->Dispatcher().Dispatch(c.command);
    EXPECT_EQ(seen, c.dialog) << c.command;
  }
}

TEST(Keys, MenuItemsRunTheirCommands) {
  Answers answers;
  auto w = MakeWindow(answers);
  QSignalSpy started(&w->Dispatcher(), &CommandDispatcher::CommandStarted);
  answers.files = {std::nullopt};
  w->Action(res::kCmdOpenTdm)->trigger();
  ASSERT_EQ(started.count(), 1);
  EXPECT_EQ(started[0][0].toInt(), res::kCmdOpenTdm);
  EXPECT_EQ(answers.Titles(), std::vector<std::string>{"Open TDM file"});
}

}  // namespace
}  // namespace tz::test
