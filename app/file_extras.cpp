#include "app/file_extras.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/commands.h"
#include "app/dispatcher.h"
#include "app/file_dialog.h"
#include "app/main_window.h"
#include "app/recent_files.h"
#include "app/start_args.h"
#include "display/display.h"
#include "processing/files.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

const FileDialogSetup kExportDataDialog{FileDialogKind::Save, "CSV Files", "csv",
                                        "Export visible data"};

namespace {

// The settings of the program: the organisation and application names.
constexpr char kSettingsOrganisation[] = "Torzalen";
constexpr char kSettingsApplication[] = "torzalen";

QMenu* MenuTitled(QMenuBar* bar, Menu menu) {
  const QString title = QString::fromLatin1(MenuTitle(menu));
  for (QAction* a : bar->actions())
    if (a->menu() != nullptr && a->text() == title) return a->menu();
  return nullptr;
}

// A system error as the run reports one: "Error N: CONTEXT." and the
// system's text on the next line.
Message SystemError(int err, const char* context) {
  return {"Torzalen",
          "Error " + std::to_string(err) + ": " + context + ".\n" + std::strerror(err),
          MessageIcon::Exclamation};
}

}  // namespace

FileExtras::FileExtras(MainWindow& window, const std::string& settingsFile)
    : QObject(&window), window_(window) {
  settings_ = settingsFile.empty()
                  ? std::make_unique<QSettings>(QLatin1String(kSettingsOrganisation),
                                                QLatin1String(kSettingsApplication))
                  : std::make_unique<QSettings>(QString::fromStdString(settingsFile),
                                                QSettings::IniFormat);
  recent_ = LoadRecentFiles(*settings_);

  // File: Export visible data and the recent inputs, above Exit.
  QMenu* file = MenuTitled(window.menuBar(), Menu::File);
  QAction* exit = window.Action(res::kCmdExit);
  AddAction(res::kCmdExportData, QStringLiteral("Export visible &data...\tCtrl+Shift+E"),
            QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), file, exit);
  recentMenu_ = new QMenu(QStringLiteral("Recent &files"), file);
  SetId(recentMenu_, res::kMenuRecentFiles);
  file->insertMenu(exit, recentMenu_);
  file->insertSeparator(exit);
  FillRecentMenu();
  connect(Action(res::kCmdExportData), &QAction::triggered, this,
          &FileExtras::ExportVisibleData);

  // Display: Copy readouts.
  QMenu* display = MenuTitled(window.menuBar(), Menu::Display);
  AddAction(res::kCmdCopyReadouts, QStringLiteral("&Copy readouts\tCtrl+C"),
            QKeySequence(Qt::CTRL | Qt::Key_C), display, nullptr);
  connect(Action(res::kCmdCopyReadouts), &QAction::triggered, this, &FileExtras::CopyReadouts);

  window.Dispatcher().onCompleted = [this](const std::string& input) { RunCompleted(input); };
  window.setAcceptDrops(true);
  window.installEventFilter(this);
  qApp->installEventFilter(this);
}

FileExtras::~FileExtras() { qApp->removeEventFilter(this); }

QAction* FileExtras::AddAction(int id, const QString& text, const QKeySequence& key, QMenu* menu,
                               QAction* before) {
  auto* action = new QAction(text, &window_);
  SetId(action, id);
  action->setShortcut(key);
  action->setShortcutContext(Qt::ApplicationShortcut);
  if (menu != nullptr) menu->insertAction(before, action);
  actions_[id] = action;
  return action;
}

QAction* FileExtras::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void FileExtras::FillRecentMenu() {
  for (size_t i = 0; i < kRecentFileCount; ++i) {
    const int id = res::kCmdRecentFile1 + static_cast<int>(i);
    if (QAction* old = Action(id)) {
      actions_.erase(id);
      delete old;
    }
  }
  for (size_t i = 0; i < recent_.size(); ++i) {
    const QString name = QString::fromStdString(recent_[i]);
    const QString text = QStringLiteral("&%1 %2\tCtrl+%1").arg(i + 1).arg(QFileInfo(name).fileName());
    QAction* a = AddAction(res::kCmdRecentFile1 + static_cast<int>(i), text,
                           QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + i)),
                           recentMenu_, nullptr);
    a->setStatusTip(name);
    connect(a, &QAction::triggered, this, [this, i] { OpenRecent(i); });
  }
  recentMenu_->setEnabled(!recent_.empty());
}

void FileExtras::RunCompleted(const std::string& input) {
  if (input.empty()) return;
  recent_ = WithRecentFile(recent_, input);
  StoreRecentFiles(*settings_, recent_);
  FillRecentMenu();
}

bool FileExtras::OpenFile(const std::string& path) {
  const auto kind = DroppedFileKind(path);
  if (!kind || window_.Dispatcher().Running()) return false;
  window_.Dispatcher().TakeInput(*kind, path, WithExtension(path, "TDM"),
                                 WithExtension(path, "FDM"));
  return true;
}

void FileExtras::OpenRecent(size_t i) {
  if (i >= recent_.size() || window_.Dispatcher().Running()) return;
  const std::string path = recent_[i];
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    window_.Hooks().messageBox(
        &window_, SystemError(error ? error.value() : ENOENT, "Recent file open failure"));
    std::erase(recent_, path);
    StoreRecentFiles(*settings_, recent_);
    FillRecentMenu();
    return;
  }
  const auto kind = DroppedFileKind(path);
  window_.Dispatcher().TakeInput(kind ? *kind : KindFromExtension(path), path,
                                 WithExtension(path, "TDM"), WithExtension(path, "FDM"));
}

void FileExtras::ExportVisibleData() {
  if (window_.Dispatcher().Running()) return;
  const std::string input = window_.ShownRecord().source.InputPath;
  const std::string start = input.empty() ? std::string() : WithExtension(input, "csv");
  const auto path = window_.Hooks().fileDialog(&window_, kExportDataDialog, start);
  if (!path) return;
  const std::string text = window_.Graphs().VisibleDataText();
  const WholeFileResult written = WriteWholeFile(path->c_str(), text.data(), text.size());
  if (written.err != 0)
    window_.Hooks().messageBox(
        &window_, SystemError(written.err, written.created ? "CSV file write failure"
                                                           : "CSV file creation failure"));
}

void FileExtras::CopyReadouts() {
  QApplication::clipboard()->setText(window_.Graphs().ReadoutsText());
}

bool FileExtras::TakeDrop(QEvent* event, bool drop) {
  auto* e = static_cast<QDropEvent*>(event);
  const QList<QUrl> urls = e->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return false;
  const std::string path = LocalFileBytes(urls.front());
  if (!DroppedFileKind(path) || window_.Dispatcher().Running()) return false;
  e->acceptProposedAction();
  if (drop) OpenFile(path);
  return true;
}

bool FileExtras::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      if (watched == &window_) {
        if (!TakeDrop(event, event->type() == QEvent::Drop)) event->ignore();
        return true;
      }
      // A field of the window that takes dropped text gets the drag first:
      // a recording opens there as on the window; other drags stay its own.
      if (auto* widget = qobject_cast<QWidget*>(watched);
          widget != nullptr && widget->window() == &window_ &&
          TakeDrop(event, event->type() == QEvent::Drop))
        return true;
      break;
    case QEvent::ShortcutOverride: {
      // A field with a selection copies it; otherwise Ctrl+C copies the
      // readouts, also while a panel's field has the focus.
      auto* key = static_cast<QKeyEvent*>(event);
      auto* field = qobject_cast<QLineEdit*>(watched);
      if (field != nullptr && key->matches(QKeySequence::Copy) && !field->hasSelectedText()) {
        event->ignore();
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace tz
