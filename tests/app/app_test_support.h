// Helpers of the desktop program's tests: a main window whose file dialogs
// and message boxes are answered by the test, runs of the batch command, and
// modal dialogs closed from a timer (temporary folders and files come from
// tests/test_support.h).
#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/main_window.h"
#include "tests/test_support.h"
#include "ui/message_box.h"

namespace tz::test {

// What a file dialog was asked with.
struct DialogAsked {
  FileDialogKind kind;
  std::string title, filter, extension, current;
};

// Answers the file dialogs from a queue and keeps every question and message.
struct Answers {
  std::deque<std::optional<std::string>> files;  // nullopt: Cancel
  std::vector<DialogAsked> asked;
  std::vector<Message> messages;
  std::vector<QWidget*> owners;  // the owner of each message box
  std::function<void(const Message&)> onMessage;  // runs while the box would be up
  // The print dialog and the preview, counted: with printFile the page goes
  // into that PDF file (the preview's too), without it the print dialog is
  // cancelled and the preview closed unprinted.
  std::optional<std::string> printFile;
  int printDialogs = 0, previews = 0;
  std::string settingsFile;  // the window's settings; empty: a file of the test program's own

  UiHooks Hooks();
  std::vector<std::string> Titles() const;
};

// A shown and active main window answering from answers.
std::unique_ptr<MainWindow> MakeWindow(Answers& answers);

// Answers File - Open VBT File with input and dir's NAME.TDM and NAME.FDM,
// and runs it; OpenDemo does so with samples/demo.VBT.
void OpenVbt(MainWindow& w, Answers& answers, const std::string& input, const TempDir& dir,
             const std::string& name = "a");
void OpenDemo(MainWindow& w, Answers& answers, const TempDir& dir);

bool Exists(const std::string& path);

// The batch command on the same files: its exit status and its JSON summary.
struct CliRun {
  int status = -1;
  std::string json;
  std::string err;  // its messages, one "CAPTION: TEXT" line each
};
CliRun RunCli(const std::string& input, const std::string& tdm, const std::string& fdm);
// A number or string field of the summary, as its text.
std::string JsonField(const std::string& json, const std::string& key);

// Hands the next modal dialog to act once it is up; act must end it.
void WhenModal(std::function<void(QDialog*)> act);

// Processes events for a short while (deferred deletes included).
void Settle(int ms = 20);

}  // namespace tz::test
