// The main window: menu and keys from the command table, the client area with
// the graph display and the toolbar strip, the run's windows, the dispatcher.
#pragma once

#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/file_dialog.h"
#include "app/print_export.h"
#include "app/run_records.h"
#include "display/layout.h"
#include "ui/message_box.h"

class QAction;

namespace tz {

class ClientArea;
class CommandDispatcher;
class Display;
class FileExtras;
class QtPlatform;
class ToolbarStrip;
struct StartArgs;

// The modal questions a command may ask; tests replace them.
struct UiHooks {
  FileDialogFn fileDialog = ShowFileDialog;
  MessageBoxFn messageBox = ShowMessageBox;
  PrintDialogFn printDialog = ShowPrintDialog;
  PreviewDialogFn previewDialog = ShowPrintPreview;
  // The INI file of the program's settings (the recent inputs); empty: the
  // user's settings of the program. Tests give a file of their own.
  std::string settingsFile;
};

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(UiHooks hooks = {});
  ~MainWindow() override;

  // Takes the start-up file as its open command would, once the event loop
  // runs (so the window is on screen first).
  void Start(const StartArgs& args);
  // Shows the window as the program starts: maximised.
  void ShowAtStart() { showMaximized(); }

  // The record the display shows (of the last run that reached its end),
  // and the one the next run starts from and fills.
  AnalysisRecord& ShownRecord() { return records_.Shown(); }
  AnalysisRecord& NextRecord() { return records_.Next(); }
  CommandDispatcher& Dispatcher() { return *dispatcher_; }
  Display& Graphs() { return *display_; }
  // The client area: the plot, the panel column and the strip.
  QWidget* Client() const;
  QtPlatform& Platform() { return *platform_; }
  ToolbarStrip& Toolbar() { return *toolbar_; }
  FileExtras& Extras() { return *extras_; }
  const LayoutRecord& Layout() const { return layout_; }
  UiHooks& Hooks() { return hooks_; }
  QAction* Action(int id) const;
  int DlgUnitHeight() const { return dlgUnitHeight_; }
  int MinimumTrackHeight() const { return minTrackHeight_; }

 protected:
  // Characters typed in the main window go to the plot window.
  void keyPressEvent(QKeyEvent* event) override;
  // A run in progress keeps the window: it closes once the run is over.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateClientArea();
  void CreateActions();
  void SetMinimumTrackHeight();
  void LayOutClient(int width, int height);

  UiHooks hooks_;
  RunRecords records_;
  LayoutRecord layout_;
  int dlgUnitHeight_ = 0;
  int minTrackHeight_ = 0;
  ClientArea* client_ = nullptr;
  ToolbarStrip* toolbar_ = nullptr;
  std::unique_ptr<Display> display_;
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<GraphOutput> graphOutput_;
  std::unique_ptr<CommandDispatcher> dispatcher_;
  std::map<int, QAction*> actions_;
  FileExtras* extras_ = nullptr;  // a child of the window
};

}  // namespace tz
