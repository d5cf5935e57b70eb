#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include "app/app_icon.h"
#include "app/client_area.h"
#include "app/commands.h"
#include "app/dispatcher.h"
#include "app/file_extras.h"
#include "app/qt_platform.h"
#include "app/start_args.h"
#include "app/toolbar_strip.h"
#include "display/display.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

namespace {
// Where the main window opens before it is maximised, and its size then.
constexpr QPoint kStartPosition{80, 70};
constexpr QSize kStartSize{750, 530};
}  // namespace

MainWindow::MainWindow(UiHooks hooks)
    : hooks_(std::move(hooks)) {
  setWindowTitle(QString::fromLatin1(kAppTitle));
  setWindowIcon(AppIcon());
  move(kStartPosition);
  resize(kStartSize);
  CreateClientArea();
  CreateActions();
  // Beyond the command table: export of the visible data, recent inputs,
  // dropped files and copied readouts.
  extras_ = new FileExtras(*this, hooks_.settingsFile);
  SetMinimumTrackHeight();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateClientArea() {
  // The height of a dialog unit's line: the strip's height and the gap
  // under the drawing area.
  dlgUnitHeight_ = fontMetrics().height();
  client_ = new ClientArea(this);
  setCentralWidget(client_);
  toolbar_ = new ToolbarStrip(client_);
  display_ = std::make_unique<Display>(client_, records_.Shown(), layout_, hooks_.messageBox);
  // The strip stays at the foot of the panel column, whose width the
  // rebuild may have changed.
  display_->onRebuilt = [this] {
    const Rect t = ToolbarRect(layout_, dlgUnitHeight_);
    toolbar_->setGeometry(t.x, t.y, t.width, t.height);
  };
  platform_ = std::make_unique<QtPlatform>(this, toolbar_->Bar(), hooks_.messageBox,
                                           [this] { display_->RebuildDisplay(); });
  // Print, print preview and the picture export: of the client area, with
  // the header of the record shown.
  graphOutput_ = std::make_unique<GraphOutput>(GraphOutput::Services{
      this, client_, [this]() -> const AnalysisRecord& { return records_.Shown(); },
      hooks_.printDialog, hooks_.previewDialog, hooks_.fileDialog, hooks_.messageBox});
  dispatcher_ = std::make_unique<CommandDispatcher>(CommandDispatcher::Services{
      this, records_, *platform_, *display_, hooks_.fileDialog, hooks_.messageBox, *graphOutput_});
  client_->onResize = [this](int w, int h) { LayOutClient(w, h); };
}

void MainWindow::CreateActions() {
  SetId(menuBar(), res::kMenuMain);
  std::map<Menu, QMenu*> menus;
  for (Menu m : MenuOrder()) {
    menus[m] = menuBar()->addMenu(QString::fromLatin1(MenuTitle(m)));
  }
  for (const Command& c : CommandTable()) {
    if (c.menu == Menu::None || c.handler == nullptr) continue;
    QMenu* menu = menus[c.menu];
    auto* action = new QAction(QString::fromLatin1(c.text), this);
    SetId(action, c.id);
    action->setStatusTip(QString::fromLatin1(c.statusTip));
    if (c.key != QKeyCombination()) {
      QList<QKeySequence> keys{QKeySequence(c.key)};
      for (const AlternateKey& a : AlternateKeys())
        if (a.id == c.id) keys << QKeySequence(a.key);
      action->setShortcuts(keys);
      // Keys work wherever the focus is, also in the modeless dialogs.
      action->setShortcutContext(Qt::ApplicationShortcut);
    }
    const int id = c.id;
    connect(action, &QAction::triggered, this, [this, id] { dispatcher_->Dispatch(id); });
    menu->addAction(action);
    if (c.separatorAfter) menu->addSeparator();
    actions_[c.id] = action;
  }
}

QWidget* MainWindow::Client() const { return client_; }

QAction* MainWindow::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::SetMinimumTrackHeight() {
  const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
  const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
  minTrackHeight_ = MinTrackHeight(menuBar()->sizeHint().height(), dlgUnitHeight_, frame, caption);
  // The rule counts the outer frame and the caption, which this window's
  // height leaves out.
  setMinimumHeight(minTrackHeight_ - caption - 2 * frame);
}

void MainWindow::LayOutClient(int width, int height) {
  layout_ = LayOut(width, height, dlgUnitHeight_, FftShown(display_->State()));
  display_->LayoutChanged();  // the plot window and the panels
  const Rect t = ToolbarRect(layout_, dlgUnitHeight_);
  toolbar_->setGeometry(t.x, t.y, t.width, t.height);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  PlotWindow* plot = display_->Plot();
  if (plot == nullptr || event->text().isEmpty()) {
    QMainWindow::keyPressEvent(event);
    return;
  }
  plot->setFocus();
  QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(),
                 event->isAutoRepeat(), static_cast<ushort>(event->count()));
  QCoreApplication::sendEvent(plot, &copy);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (dispatcher_->Running()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void MainWindow::Start(const StartArgs& args) {
  if (args.input.empty()) return;
  const StartArgs a = args;
  QMetaObject::invokeMethod(
      this,
      [this, a] {
        const InputKind kind = KindFromExtension(a.input);
        if (a.tdm.empty())
          dispatcher_->TakeInput(kind, a.input, WithExtension(a.input, "TDM"),
                                 WithExtension(a.input, "FDM"));
        else
          dispatcher_->TakeInputAndOutputs(kind, a.input, a.tdm, a.fdm);
      },
      Qt::QueuedConnection);
}

}  // namespace tz
