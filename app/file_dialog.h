// The file dialogs of the commands: one description per dialog, and one
// replaceable function that shows a dialog, so tests can answer it.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace tz {

enum class FileDialogKind { Open, Save };

struct FileDialogSetup {
  FileDialogKind kind;
  const char* description;  // "VBT Files"
  const char* extension;    // "VBT": default extension and filter; "png svg pdf": several,
                            // the first the default
  const char* title;
};

// Open dialogs ask for an existing file; save dialogs ask before overwriting.
extern const FileDialogSetup kOpenVbtDialog;
extern const FileDialogSetup kOpenTdmDialog;
extern const FileDialogSetup kOpenFdmDialog;
extern const FileDialogSetup kCreateTdmDialog;
extern const FileDialogSetup kCreateFdmDialog;
extern const FileDialogSetup kSaveTdmDialog;
extern const FileDialogSetup kSaveFdmDialog;

// "VBT Files (*.VBT *.vbt)": the extension in both cases, as file names on
// this system are case-sensitive ("Pictures (*.PNG *.png *.SVG *.svg ...)"
// for several).
QString FilterText(const FileDialogSetup& setup);

// The name a dialog starts with, from the previous choice: an open dialog
// takes it only when it is of the dialog's kind (its extension in the
// filter's upper or lower case), otherwise only its folder ("/d/x.VBT" ->
// "/d/"), so that no file of another kind is listed or selected. A save
// dialog takes it as it is.
std::string DialogStartName(const FileDialogSetup& setup, const std::string& current);

// Shows the dialog owned by owner, starting with DialogStartName(current)
// (a name ending in '/' is a folder, with no file selected); the chosen full
// path, or nothing when cancelled.
using FileDialogFn = std::function<std::optional<std::string>(
    QWidget* owner, const FileDialogSetup& setup, const std::string& current)>;

// The platform's file dialog.
std::optional<std::string> ShowFileDialog(QWidget* owner, const FileDialogSetup& setup,
                                          const std::string& current);

// File name part of a path ("demo.VBT" of "/data/demo.VBT").
std::string FileNamePart(const std::string& path);

}  // namespace tz
