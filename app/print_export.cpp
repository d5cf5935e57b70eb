#include "app/print_export.h"

#include <QDateTime>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QBuffer>
#include <QSvgGenerator>
#include <QWidget>
#include <cerrno>
#include <cstring>

#include "app/start_args.h"
#include "processing/analysis_record.h"
#include "processing/codes.h"
#include "processing/files.h"
#include "settings/parameter_fields.h"

namespace tz {

const FileDialogSetup kExportGraphDialog{FileDialogKind::Save, "Pictures", "png svg pdf",
                                         "Export graph"};

namespace {

// The header line's font size, in points, and its distance from the picture
// in lines.
constexpr int kHeaderPointSize = 9;
constexpr double kHeaderGapLines = 0.6;
// Screen pixels a picture's PDF page takes per inch: the page is as large as
// the window's area on a usual screen.
constexpr int kPictureDpi = 96;

QString HeaderText(const char* text, int len, int capacity) {
  return QString::fromLocal8Bit(StoredText(text, len, capacity));
}

}  // namespace

bool ShowPrintDialog(QWidget* owner, QPrinter& printer) {
  QPrintDialog dialog(&printer, owner);
  dialog.setWindowTitle(QStringLiteral("Print"));
  return dialog.exec() == QDialog::Accepted;
}

void ShowPrintPreview(QWidget* owner, QPrinter& printer,
                      const std::function<void(QPrinter&)>& paint) {
  QPrintPreviewDialog dialog(&printer, owner);
  dialog.setWindowTitle(QStringLiteral("Print preview"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&paint](QPrinter* p) { paint(*p); });
  dialog.exec();
}

QString PrintHeaderLine(const AnalysisRecord& r, const QDateTime& printed) {
  const std::string& input = r.source.InputPath;
  const QString name = input.empty() ? QStringLiteral("(no file)")
                                     : QFile::decodeName(input.c_str()).section('/', -1);
  return QStringLiteral("%1    Date: %2    Time: %3    %4    %5    Printed: %6")
      .arg(name, HeaderText(r.params.DateText, r.params.DateLen, kDateTextSize).trimmed(),
           HeaderText(r.params.TimeText, r.params.TimeLen, kTimeTextSize).trimmed(),
           QString::fromLatin1(InfoOf(r.settings.FFTwindow).fdmLine),
           QString::fromLatin1(InfoOf(r.settings.FFTsource).fdmLine),
           printed.toString(QStringLiteral("yyyy-MM-dd hh:mm")));
}

namespace {

// The page of a printer or of a PDF writer: its paintable area at its resolution.
bool PaintPage(QPaintDevice& device, const QRect& page, QWidget* shown, const QString& header) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const QRect area(0, 0, page.width(), page.height());
  QFont font = shown->font();
  font.setPointSize(kHeaderPointSize);
  painter.setFont(font);
  const int line = painter.fontMetrics().height();
  painter.drawText(QRect(area.left(), area.top(), area.width(), line),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   painter.fontMetrics().elidedText(header, Qt::ElideRight, area.width()));
  // The picture under the header, as large as the rest of the page allows
  // without changing its proportions.
  const int top = line + static_cast<int>(line * kHeaderGapLines);
  const QSize size = shown->size();
  if (size.isEmpty() || area.height() <= top) return painter.end();
  const double scale = std::min(static_cast<double>(area.width()) / size.width(),
                                static_cast<double>(area.height() - top) / size.height());
  painter.translate(area.left(), area.top() + top);
  painter.scale(scale, scale);
  painter.setClipRect(QRect(QPoint(0, 0), size));
  shown->render(&painter, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
  return painter.end();
}

}  // namespace

bool PaintPrintPage(QPrinter& printer, QWidget* shown, const QString& header) {
  return PaintPage(printer, printer.pageLayout().paintRectPixels(printer.resolution()), shown,
                   header);
}

namespace {

bool WritePng(QWidget* shown, QBuffer& file) {
  return shown->grab().toImage().save(&file, "PNG");
}

// The window's title as the SVG file's title element takes it: the SVG
// writer copies it into the XML as it is, so a file named "R&D.VBT" would
// make a file no reader opens; markup characters are escaped and control
// characters, which XML cannot hold, dropped.
QString SvgTitle(const QString& title) {
  QString text;
  for (const QChar c : title)
    if (c.unicode() >= 0x20 && c.unicode() != 0x7F) text += c;
  return text.toHtmlEscaped();
}

bool WriteSvg(QWidget* shown, QBuffer& file) {
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setSize(shown->size());
  svg.setViewBox(QRect(QPoint(0, 0), shown->size()));
  svg.setResolution(kPictureDpi);
  svg.setTitle(SvgTitle(shown->window()->windowTitle()));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  shown->render(&painter);
  return painter.end();
}

bool WritePdf(QWidget* shown, QBuffer& file) {
  QPdfWriter pdf(&file);
  pdf.setResolution(kPictureDpi);
  pdf.setTitle(shown->window()->windowTitle());
  const QSizeF points = QSizeF(shown->size()) * 72.0 / kPictureDpi;
  pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait,
                                QMarginsF(0, 0, 0, 0)));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  shown->render(&painter);
  return painter.end();
}

}  // namespace

bool WritePicture(QWidget* shown, const std::string& path, std::string& error) {
  const std::optional<PictureFormat> format = PictureFormatOf(path);
  if (!format) {
    error = "the name must end in .png, .svg or .pdf";
    return false;
  }
  // Made in memory, then written as the run's outputs are: a file replaced
  // only when complete, a pipe or a device written directly.
  QByteArray bytes;
  QBuffer file(&bytes);
  file.open(QIODevice::WriteOnly);
  const bool painted = *format == PictureFormat::Png   ? WritePng(shown, file)
                       : *format == PictureFormat::Svg ? WriteSvg(shown, file)
                                                       : WritePdf(shown, file);
  if (!painted) {
    error = "the picture could not be made";
    return false;
  }
  const WholeFileResult written =
      WriteWholeFile(path.c_str(), bytes.constData(), static_cast<size_t>(bytes.size()));
  if (written.err != 0) error = std::strerror(written.err);
  return written.err == 0;
}

void GraphOutput::SetUpPrinter(QPrinter& printer) const {
  printer.setPageOrientation(QPageLayout::Landscape);
  const std::string& input = s_.record().source.InputPath;
  printer.setDocName(QFile::decodeName(FileNamePart(input).c_str()));
  // Without a printer the dialog still offers its PDF printer; it starts
  // with a file beside the input.
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    if (!input.empty())
      printer.setOutputFileName(QFile::decodeName(WithExtension(input, "pdf").c_str()));
  }
}

void GraphOutput::Paint(QPrinter& printer) {
  const QString header = PrintHeaderLine(s_.record(), QDateTime::currentDateTime());
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    PrintToPdfFile(printer, header);
    return;
  }
  if (!PaintPrintPage(printer, s_.shown, header))
    s_.messageBox(s_.owner, {"Print", "The page could not be printed.", MessageIcon::Exclamation});
}

// The printer's PDF file, made in memory on the printer's page and written
// as the outputs are: a full disk is reported, and an earlier file stays
// until the new one is complete.
void GraphOutput::PrintToPdfFile(QPrinter& printer, const QString& header) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool painted;
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(printer.resolution());
    pdf.setPageLayout(printer.pageLayout());
    pdf.setTitle(printer.docName());
    painted = PaintPage(pdf, printer.pageLayout().paintRectPixels(printer.resolution()), s_.shown,
                        header);
  }
  if (!painted) {
    s_.messageBox(s_.owner, {"Print", "The page could not be printed.", MessageIcon::Exclamation});
    return;
  }
  const std::string path = QFile::encodeName(printer.outputFileName()).toStdString();
  const int err =
      WriteWholeFile(path.c_str(), bytes.constData(), static_cast<size_t>(bytes.size())).err;
  if (err != 0)
    s_.messageBox(s_.owner, {"Print", "Cannot write " + path + ":\n" + std::strerror(err),
                             MessageIcon::Exclamation});
}

// The widgets paint in the screen's pixels, scaled onto the page, where lines
// and text stay vectors; at a printer's own resolution the widgets' styles
// took seconds for a page.
void GraphOutput::Print() {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUpPrinter(printer);
  if (!s_.printDialog(s_.owner, printer)) return;
  Paint(printer);
}

void GraphOutput::PrintPreview() {
  QPrinter printer(QPrinter::ScreenResolution);
  SetUpPrinter(printer);
  s_.previewDialog(s_.owner, printer, [this](QPrinter& p) { Paint(p); });
}

void GraphOutput::ExportGraph() {
  const std::string& input = s_.record().source.InputPath;
  const std::string start = !lastPicture_.empty() ? lastPicture_
                            : input.empty()       ? std::string()
                                                  : WithExtension(input, "png");
  const auto path = s_.fileDialog(s_.owner, kExportGraphDialog, start);
  if (!path) return;
  lastPicture_ = *path;
  std::string error;
  if (!WritePicture(s_.shown, *path, error))
    s_.messageBox(s_.owner, {"Export graph", "Cannot write " + *path + ":\n" + error,
                             MessageIcon::Exclamation});
}

}  // namespace tz
