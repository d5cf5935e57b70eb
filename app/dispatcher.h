// The command dispatcher: what each command of the table does. It chooses
// input and output files, sets the caption and starts the run of the current
// source; the dialogs it opens get what they need when created. Choices go
// into the next run's record; a run that reaches its end makes its record,
// caption and outputs the shown ones, a run that fails brings the choices
// back to the shown ones.
#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "app/file_dialog.h"
#include "processing/analysis_record.h"
#include "processing/platform.h"
#include "ui/message_box.h"

class QWidget;

namespace tz {

class Display;
class GraphOutput;
class RunRecords;

class CommandDispatcher : public QObject {
  Q_OBJECT
 public:
  struct Services {
    QWidget* owner;  // the main window: caption, dialog owner
    RunRecords& records;
    PlatformOps& platform;
    Display& display;
    const FileDialogFn& fileDialog;
    const MessageBoxFn& messageBox;
    GraphOutput& graphOutput;  // print, print preview and the picture export
  };
  explicit CommandDispatcher(Services services);

  // Runs the command of an identifier. Identifiers without an action are
  // ignored, and so is every command while a run is going.
  void Dispatch(int id);

  // The input choice with the input already chosen (start-up with a file):
  // the caption, then the two "Create" dialogs with the given names filled
  // in, then the run.
  void TakeInput(InputKind kind, const std::string& input, const std::string& tdmSuggestion,
                 const std::string& fdmSuggestion);
  // Same with both outputs given: no dialog, the run starts at once.
  void TakeInputAndOutputs(InputKind kind, const std::string& input, const std::string& tdm,
                           const std::string& fdm);

  // Handlers of the command table.
  void OpenVbt() { ChooseInput(InputKind::Vbt); }
  void OpenTdm() { ChooseInput(InputKind::Tdm); }
  void OpenFdm() { ChooseInput(InputKind::Fdm); }
  void SaveAsFdm();
  void PrintPreview();
  void Print();
  void ExportGraph();
  void Exit();
  void Parameters();
  void FilteringSettings();
  void FftFiltering();
  void FftInput();
  void DisplayControl();
  void XZoom();
  void RestoreX();
  // Runs the current source into its outputs, asking for them first (the
  // Save dialogs) when they were not confirmed for this input.
  void ProcessFile();
  void Help();
  void About();

  bool Running() const { return running_; }
  // Whether the last run reached its end (false before any run).
  bool LastRunCompleted() const { return lastRunCompleted_; }
  // Called with the input of each run that reached its end.
  std::function<void(const std::string& input)> onCompleted;
  // Of the input chosen for the next run.
  const std::string& InputTitle() const { return next_.inputTitle; }
  const std::string& WindowCaption() const { return next_.windowCaption; }
  QDialog* ParamDialog() const { return parameters_; }

 signals:
  // A command of the table is about to run.
  void CommandStarted(int id);

 private:
  void ChooseInput(InputKind kind);
  // The chosen input: its name and the window caption.
  void SetInput(const std::string& path);
  // Asks for the two outputs with the given dialogs; true when both were
  // chosen, which confirms them.
  bool AskOutputs(const FileDialogSetup& tdmDialog, const FileDialogSetup& fdmDialog);
  // After the input: the two outputs, then the run.
  void ChooseOutputsAndRun(InputKind kind);
  // A new source of the given kind: its header's filter settings apply, and
  // it is processed at once.
  void StartRun(InputKind kind);
  std::optional<std::string> AskFile(const FileDialogSetup& setup, const std::string& current);
  std::function<void()> ProcessFileFn();
  std::function<void()> RebuildDisplayFn();

  // The next run's record, where the commands put their choices.
  AnalysisRecord& Next();
  // Sets the caption of a choice (the program's title alone when empty).
  void ShowCaption(const std::string& caption);

  // What goes with a record's source besides the record: the caption's
  // name, and whether the outputs were confirmed for the input (in the
  // dialogs or on the command line; until then Process File asks for them).
  struct SourceChoice {
    std::string inputTitle;
    std::string windowCaption;  // empty: the program's title alone
    bool outputsConfirmed = false;
  };

  Services s_;
  SourceChoice next_;   // of the choices for the next run
  SourceChoice shown_;  // of the record shown
  QPointer<QDialog> parameters_;
  bool running_ = false;
  bool lastRunCompleted_ = false;
};

}  // namespace tz
