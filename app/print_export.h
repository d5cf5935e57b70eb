// Printing and pictures of the display: what the client area shows (the plot,
// the panels with their readouts, the strip) goes onto a landscape page under
// a header line, or into a PNG, SVG or PDF file. Both paint the widgets
// themselves, so a page or a picture holds exactly the pixels the window has.
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "app/file_dialog.h"
#include "ui/message_box.h"

class QDateTime;
class QPrinter;
class QWidget;

namespace tz {

struct AnalysisRecord;

// Asks where and how to print; false when the user cancelled. Tests replace
// it with one that picks a PDF file.
using PrintDialogFn = std::function<bool(QWidget* owner, QPrinter& printer)>;
// Shows the pages paint draws until the user closes the preview (printing
// from there if the user asks).
using PreviewDialogFn = std::function<void(QWidget* owner, QPrinter& printer,
                                           const std::function<void(QPrinter&)>& paint)>;

// The platform's print dialog and print preview.
bool ShowPrintDialog(QWidget* owner, QPrinter& printer);
void ShowPrintPreview(QWidget* owner, QPrinter& printer,
                      const std::function<void(QPrinter&)>& paint);

// The header line of a printed page: the input file's name, the date and
// time of its header, the FFT window and source, and when it was printed.
QString PrintHeaderLine(const AnalysisRecord& record, const QDateTime& printed);

// Paints the header line and, under it, the widget as shown, scaled to the
// page without distortion. False when the printer cannot be painted on.
bool PaintPrintPage(QPrinter& printer, QWidget* shown, const QString& header);

// Writes the widget as shown into path, PNG, SVG or PDF by its extension;
// the file is replaced only when the picture is complete. False with the
// reason in error when it cannot be written.
bool WritePicture(QWidget* shown, const std::string& path, std::string& error);

// The save dialog of "Export graph...".
extern const FileDialogSetup kExportGraphDialog;

// The print and export commands of the File menu, on the main window's
// client area.
class GraphOutput {
 public:
  struct Services {
    QWidget* owner;    // the main window: dialogs' owner
    QWidget* shown;    // the client area
    std::function<const AnalysisRecord&()> record;  // the record shown
    const PrintDialogFn& printDialog;
    const PreviewDialogFn& previewDialog;
    const FileDialogFn& fileDialog;
    const MessageBoxFn& messageBox;
  };
  explicit GraphOutput(Services services) : s_(services) {}

  void Print();
  void PrintPreview();
  void ExportGraph();

 private:
  // A landscape printer, printing to a PDF file beside the input when the
  // system has no printer.
  void SetUpPrinter(QPrinter& printer) const;
  void Paint(QPrinter& printer);
  void PrintToPdfFile(QPrinter& printer, const QString& header);

  Services s_;
  std::string lastPicture_;  // the last export's name, the dialog's start
};

}  // namespace tz
