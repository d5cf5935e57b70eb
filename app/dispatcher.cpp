#include "app/dispatcher.h"

#include <QDialog>
#include <QMetaObject>
#include <QWidget>

#include "app/about_dialog.h"
#include "app/commands.h"
#include "app/help_dialog.h"
#include "app/print_export.h"
#include "app/run_records.h"
#include "display/display.h"
#include "display/display_settings_dialog.h"
#include "run/run_processing.h"
#include "settings/fft_source_dialog.h"
#include "settings/fft_window_dialog.h"
#include "settings/filtering_settings_dialog.h"
#include "settings/parameters_dialog.h"
#include "ui/resource.h"

namespace tz {

CommandDispatcher::CommandDispatcher(Services services) : s_(services) {}

AnalysisRecord& CommandDispatcher::Next() { return s_.records.Next(); }

void CommandDispatcher::ShowCaption(const std::string& caption) {
  s_.owner->setWindowTitle(QString::fromLocal8Bit(caption.empty() ? kAppTitle : caption));
}

void CommandDispatcher::Dispatch(int id) {
  if (running_) return;
  const Command* c = FindCommand(id);
  if (c == nullptr || c->handler == nullptr) return;
  emit CommandStarted(id);
  (this->*(c->handler))();
}

std::optional<std::string> CommandDispatcher::AskFile(const FileDialogSetup& setup,
                                                      const std::string& current) {
  return s_.fileDialog(s_.owner, setup, DialogStartName(setup, current));
}

void CommandDispatcher::ChooseInput(InputKind kind) {
  const FileDialogSetup& setup = kind == InputKind::Tdm   ? kOpenTdmDialog
                               : kind == InputKind::Fdm ? kOpenFdmDialog
                                                        : kOpenVbtDialog;
  const auto input = AskFile(setup, Next().source.InputPath);
  if (!input) return;
  SetInput(*input);
  ChooseOutputsAndRun(kind);
}

void CommandDispatcher::SetInput(const std::string& path) {
  Next().source.InputPath = path;
  next_.outputsConfirmed = false;  // outputs are confirmed for an input
  next_.inputTitle = FileNamePart(path);
  next_.windowCaption = next_.inputTitle + "  -  " + kAppTitle;
  ShowCaption(next_.windowCaption);
}

bool CommandDispatcher::AskOutputs(const FileDialogSetup& tdmDialog,
                                   const FileDialogSetup& fdmDialog) {
  const auto tdm = AskFile(tdmDialog, Next().source.TdmPath);
  if (!tdm) return false;
  Next().source.TdmPath = *tdm;  // filled in next time, but not yet confirmed
  const auto fdm = AskFile(fdmDialog, Next().source.FdmPath);
  if (!fdm) return false;
  Next().source.FdmPath = *fdm;
  next_.outputsConfirmed = true;
  return true;
}

void CommandDispatcher::ChooseOutputsAndRun(InputKind kind) {
  if (AskOutputs(kCreateTdmDialog, kCreateFdmDialog)) StartRun(kind);
}

void CommandDispatcher::StartRun(InputKind kind) {
  Next().source.SourceKind = kind;
  Next().settings.UseFilterDefaults = 1;
  ProcessFile();
}

void CommandDispatcher::TakeInput(InputKind kind, const std::string& input,
                                  const std::string& tdmSuggestion,
                                  const std::string& fdmSuggestion) {
  if (running_) return;
  SetInput(input);
  Next().source.TdmPath = tdmSuggestion;
  Next().source.FdmPath = fdmSuggestion;
  ChooseOutputsAndRun(kind);
}

void CommandDispatcher::TakeInputAndOutputs(InputKind kind, const std::string& input,
                                            const std::string& tdm, const std::string& fdm) {
  if (running_) return;
  SetInput(input);
  Next().source.TdmPath = tdm;
  Next().source.FdmPath = fdm;
  next_.outputsConfirmed = true;  // given on the command line
  StartRun(kind);
}

void CommandDispatcher::SaveAsFdm() {
  if (AskOutputs(kSaveTdmDialog, kSaveFdmDialog)) ProcessFile();
}

void CommandDispatcher::ProcessFile() {
  if (running_) return;
  // Names the user never confirmed (a suggestion, or a choice cancelled
  // half-way) are asked for first: no file is replaced without a question.
  // Without an input nothing can be written; that run reports so itself.
  if (!next_.outputsConfirmed && !Next().source.InputPath.empty() &&
      !AskOutputs(kSaveTdmDialog, kSaveFdmDialog))
    return;
  running_ = true;
  s_.display.SetRunning(true);
  lastRunCompleted_ = RunProcessing(Next(), s_.platform).completed;
  if (lastRunCompleted_) {
    s_.records.Completed();
    s_.display.SetRecord(s_.records.Shown());
    shown_ = next_;
    if (onCompleted) onCompleted(s_.records.Shown().source.InputPath);
  } else {
    // The display, the caption and what the next run starts from are
    // those of the last file that ran to its end.
    s_.records.Failed();
    next_ = shown_;
    ShowCaption(next_.windowCaption);
  }
  s_.display.SetRunning(false);
  running_ = false;
}

void CommandDispatcher::PrintPreview() { s_.graphOutput.PrintPreview(); }

void CommandDispatcher::Print() { s_.graphOutput.Print(); }

void CommandDispatcher::ExportGraph() { s_.graphOutput.ExportGraph(); }

void CommandDispatcher::Exit() {
  QMetaObject::invokeMethod(s_.owner, &QWidget::close, Qt::QueuedConnection);
}

std::function<void()> CommandDispatcher::ProcessFileFn() {
  return [this] { Dispatch(res::kCmdProcessFile); };
}

std::function<void()> CommandDispatcher::RebuildDisplayFn() {
  Display* display = &s_.display;
  return [display] { display->RebuildDisplay(); };
}

void CommandDispatcher::Parameters() {
  // Each use makes a new dialog; the last one is kept.
  parameters_ = ShowParametersDialog(s_.records.Shown(), s_.owner);
}

void CommandDispatcher::FilteringSettings() {
  FilteringSettingsDialog(Next(), ProcessFileFn(), s_.owner).exec();
}

void CommandDispatcher::FftFiltering() {
  FftWindowDialog(Next(), ProcessFileFn(), s_.owner).exec();
}

void CommandDispatcher::FftInput() {
  FftSourceDialog(Next(), ProcessFileFn(), RebuildDisplayFn(), s_.owner).exec();
}

void CommandDispatcher::DisplayControl() {
  Display* display = &s_.display;
  DisplaySettingsDialog(
      display->State(), [display] { display->ClearMarkers(); },
      [display] { display->RebuildDisplay(); }, s_.owner)
      .exec();
}

void CommandDispatcher::XZoom() { s_.display.XZoom(); }

void CommandDispatcher::RestoreX() { s_.display.XRestore(); }

void CommandDispatcher::Help() { ShowHelp(s_.owner); }

void CommandDispatcher::About() { ShowAbout(s_.owner); }

}  // namespace tz
