// The main window: caption, icon, menu bar built from the command table,
// layout of the client area, characters typed in it.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTest>

#include "app/commands.h"
#include "app/file_extras.h"
#include "app/dispatcher.h"
#include "app/toolbar_strip.h"
#include "app_test_support.h"
#include "display/display.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz::test {
namespace {

struct Item {
  int id;
  const char* text;
  QKeySequence key;
};

TEST(MainWindow, StartsMaximisedWithTheAppTitleAndIcon) {
  Answers answers;
  auto w = MakeWindow(answers);
  EXPECT_EQ(w->windowTitle().toStdString(),
            "Varnholt - VRX7731 Torzalen - Frequency Domain Utility");
  EXPECT_TRUE(w->windowState() & Qt::WindowMaximized);
  EXPECT_FALSE(w->windowIcon().isNull());
  // No plot window before the first display rebuild; the strip is there,
  // its bar hidden.
  EXPECT_EQ(w->Graphs().Plot(), nullptr);
  auto* bar = FindById<QProgressBar>(w.get(), res::kToolbarProgress);
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->isVisible());
}

TEST(MainWindow, MenusAndItemsInOrderWithTheirKeys) {
  Answers answers;
  auto w = MakeWindow(answers);
  const QList<QAction*> popups = w->menuBar()->actions();
  const char* titles[] = {"File", "VBT Settings", "FFT Settings", "Display", "Run", "Help"};
  ASSERT_EQ(popups.size(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(popups[i]->text().toStdString(), titles[i]);

  const std::vector<std::vector<Item>> items = {
      {{40024, "Open &VBT File  \tF2", QKeySequence(Qt::Key_F2)},
       {40036, "Open TDM file", QKeySequence()},
       {40040, "&Open FDM file \tF3", QKeySequence(Qt::Key_F3)},
       {40041, "&Save as FDM file  \tF4", QKeySequence(Qt::Key_F4)},
       {0, nullptr, QKeySequence()},
       {40037, "Print preview", QKeySequence()},
       {40038, "Print \tF11", QKeySequence(Qt::Key_F11)},
       {40060, "Export &graph...", QKeySequence()},
       {0, nullptr, QKeySequence()},
       {4121, "Export visible &data...\tCtrl+Shift+E", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
       {4130, "Recent &files", QKeySequence()},
       {0, nullptr, QKeySequence()},
       {40001, "E&xit\tAlt-X", QKeySequence(Qt::ALT | Qt::Key_X)}},
      {{40028, "&Parameters  \tF5", QKeySequence(Qt::Key_F5)},
       {40027, "&Filtering settings  \tF6", QKeySequence(Qt::Key_F6)}},
      {{40042, "FFT filtering \tF12", QKeySequence(Qt::Key_F12)},
       {40043, "FFT input selection", QKeySequence()}},
      {{40031, "&Display control \tF7", QKeySequence(Qt::Key_F7)},
       {40032, "X axis &zoom \tF8", QKeySequence(Qt::Key_F8)},
       {40035, "&Restore X axis \tF9", QKeySequence(Qt::Key_F9)},
       {4141, "&Copy readouts\tCtrl+C", QKeySequence(Qt::CTRL | Qt::Key_C)}},
      {{40029, "P&rocess File  \tF10", QKeySequence(Qt::Key_F10)}},
      {{40023, "Online help  \tF1", QKeySequence(Qt::Key_F1)},
       {40026, "&About VRX7731-FDM", QKeySequence()}},
  };
  for (int m = 0; m < 6; ++m) {
    const QList<QAction*> actions = popups[m]->menu()->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(items[m].size())) << titles[m];
    for (size_t i = 0; i < items[m].size(); ++i) {
      const Item& want = items[m][i];
      QAction* a = actions[i];
      if (want.text == nullptr) {
        EXPECT_TRUE(a->isSeparator()) << titles[m] << " " << i;
        continue;
      }
      EXPECT_EQ(a->text().toStdString(), want.text);
      if (want.id < 5000) {
        // Beyond the command table: its own actions, and the recent inputs' menu.
        EXPECT_EQ(a->menu() ? a->menu()->objectName() : a->objectName(), IdName(want.id));
        EXPECT_EQ(a->shortcut(), want.key) << want.id;
        if (a->menu() == nullptr) {
          EXPECT_EQ(w->Extras().Action(want.id), a);
        }
        continue;
      }
      EXPECT_EQ(a->objectName(), IdName(want.id));
      EXPECT_EQ(a->shortcut(), want.key) << want.id;
      if (!want.key.isEmpty()) {
        EXPECT_EQ(a->shortcutContext(), Qt::ApplicationShortcut);
      }
      EXPECT_EQ(a->statusTip().toStdString(), FindCommand(want.id)->statusTip);
      EXPECT_EQ(w->Action(want.id), a);
    }
  }
  // F4 belongs to one command only.
  int f4 = 0;
  for (QAction* a : w->findChildren<QAction*>()) f4 += a->shortcut() == QKeySequence(Qt::Key_F4);
  EXPECT_EQ(f4, 1);
}

TEST(MainWindow, UnknownCommandsAreIgnored) {
  Answers answers;
  auto w = MakeWindow(answers);
  QSignalSpy started(&w->Dispatcher(), &CommandDispatcher::CommandStarted);
  for (int id : {0, 1, 40002, 40025, 40033, 40044, 65535}) w->Dispatcher().Dispatch(id);
  EXPECT_EQ(started.count(), 0);
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_TRUE(answers.messages.empty());
}

TEST(MainWindow, ResizeMovesThePlotWindowAndTheStrip) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->showNormal();
  w->resize(1000 + 0, 600);
  Settle();
  w->Graphs().RebuildDisplay();
  const int clientWidth = w->centralWidget()->width();
  const int clientHeight = w->centralWidget()->height();
  const int unit = w->DlgUnitHeight();
  EXPECT_EQ(w->Layout().ClientWidth, clientWidth);
  EXPECT_EQ(w->Layout().ClientHeight, clientHeight);
  EXPECT_EQ(w->Graphs().Plot()->geometry(), QRect(0, 0, clientWidth - 320, clientHeight));
  EXPECT_EQ(w->Toolbar().geometry(), QRect(clientWidth - 320, clientHeight - unit, 320, unit));

  // Narrower than the panel column: the plot window shrinks to nothing.
  w->resize(250, 600);
  Settle();
  const int narrow = w->centralWidget()->width();
  ASSERT_LT(narrow, 320);
  EXPECT_EQ(w->Layout().PlotWidth, 0);
  EXPECT_EQ(w->Graphs().Plot()->width(), 0);
  EXPECT_EQ(w->Toolbar().x(), 0);
  EXPECT_EQ(w->Toolbar().width(), 320);
}

TEST(MainWindow, HeightStopsAtTheMinimumTrackHeight) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->showNormal();
  EXPECT_GT(w->MinimumTrackHeight(), w->DlgUnitHeight());
  EXPECT_GT(w->minimumHeight(), 0);
  EXPECT_LT(w->minimumHeight(), w->MinimumTrackHeight());
  w->resize(700, 5);
  Settle();
  EXPECT_EQ(w->height(), w->minimumHeight());
  EXPECT_EQ(w->minimumWidth(), 0);
}

TEST(MainWindow, CharactersTypedInTheMainWindowGoToThePlotWindow) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->Graphs().RebuildDisplay();
  PlotWindow* plot = w->Graphs().Plot();
  ASSERT_NE(plot, nullptr);
  QSignalSpy typed(plot, &PlotWindow::CharacterTyped);
  w->setFocus();
  QTest::keyClick(w.get(), Qt::Key_A, Qt::NoModifier);
  ASSERT_EQ(typed.count(), 1);
  EXPECT_EQ(typed[0][0].toString(), QStringLiteral("a"));
  // Every character rebuilds the display: a new plot window stands.
  EXPECT_NE(w->Graphs().Plot(), plot);
  EXPECT_NE(w->Graphs().Plot(), nullptr);
}

TEST(MainWindow, RebuildPutsThePlotWindowBesideThePanelColumn) {
  Answers answers;
  auto w = MakeWindow(answers);
  w->Graphs().RebuildDisplay();
  const int cw = w->centralWidget()->width();
  EXPECT_EQ(w->Graphs().Plot()->width(), cw - 320);
  EXPECT_EQ(w->Graphs().Plot()->objectName(), IdName(res::kPlotWindow));
  // With the time graphs the column narrows to 162.
  w->Graphs().State().Show = DisplayChoice::ShowRpmFilt;
  w->Graphs().RebuildDisplay();
  EXPECT_EQ(w->Layout().PanelWidth, 162);
  EXPECT_EQ(w->Graphs().Plot()->width(), cw - 162);
}

}  // namespace
}  // namespace tz::test
