// What the main window offers beyond its command table: File - Export
// visible data (the graph's data as CSV), the recent inputs of the File
// menu and a file dropped on the window, and Ctrl+C copying the panels'
// readouts. Each opens its file as the Open commands do, through the
// dispatcher, and asks its questions through the window's UiHooks.
#pragma once

#include <QObject>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QSettings;

namespace tz {

class MainWindow;
struct FileDialogSetup;

// The save dialog of Export visible data.
extern const FileDialogSetup kExportDataDialog;

class FileExtras : public QObject {
  Q_OBJECT
 public:
  // Adds the actions to the window's File and Display menus and takes the
  // window's drops. settingsFile: an INI file for the recent list; empty for
  // the user's settings of the program.
  FileExtras(MainWindow& window, const std::string& settingsFile);
  ~FileExtras() override;

  QAction* Action(int id) const;
  const std::vector<std::string>& RecentFiles() const { return recent_; }

  // Asks for a CSV file and writes the visible data into it.
  void ExportVisibleData();
  // Opens recent input i (0: the newest) as its Open command would.
  void OpenRecent(size_t i);
  // Opens a dropped VBT, TDM or FDM file; false for any other name.
  bool OpenFile(const std::string& path);
  // Puts every visible readout on the clipboard.
  void CopyReadouts();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* AddAction(int id, const QString& text, const QKeySequence& key, QMenu* menu,
                     QAction* before);
  void FillRecentMenu();
  void RunCompleted(const std::string& input);
  bool TakeDrop(QEvent* event, bool drop);

  MainWindow& window_;
  std::unique_ptr<QSettings> settings_;
  QMenu* recentMenu_ = nullptr;
  std::vector<std::string> recent_;
  std::map<int, QAction*> actions_;
};

}  // namespace tz
