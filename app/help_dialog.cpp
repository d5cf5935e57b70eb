#include "app/help_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/resource.h"

namespace tz {

namespace {

const char* const kHelpLines[] = {
    "1) To use the program first select the VBT input file to open and the TDM output file to create with File - Open VBT File (F2)",
    "2) Then the processing starts automatically (or can be started with Run - Process File (F10))",
    "3) After processing the VBT file with the standard parameters, it is possible to display VBT file header data using Settings - Parameters (F5).",
    "4) It is possible to change the filtering settings using Settings - Filtering settings (F6). To prevent customized values from becoming effective exit the dialog pressing Cancel. ",
    "a) It is possible to set a customized overshot value, that is the percentage value of overshot beyond which a sample is considered spurious and thus must be discarded (its position is filled with the linear average of the ",
    "preceeding and following samples (default value is 0.1, that is 10% of preceeding value).",
    "b) It is possible to set a customized length of the moving average of the samples (the default value used is 10). Possible values range from 5 to 200. Using lower values some residual spurious samples may appear, using a higher value the curve is smo-",
    "othed and some peaks may be filtered.",
    "c) It is possible to set a customized value of the RPM threshold, that is the minimum RPM value below which the program checks if the sense of rotation of the shaft has changed. The default value is 40% of the maximum RPM of the shaft (see",
    "RPMmax parameter in VBT file header).",
    "d) It is possible to set a customized value of the Zero crossing filter length, that is the minimum number of samples with inverted RPM sign after which the the inversion of the sense of rotation is acknoledged. The default value is 4 samples. Possible",
    "values ranges from 4 to 30 samples.",
    "5) It is possible to select a different name for the FDM output file using File - Save as FDM File (F4).  This option is usefull when,",
    "after processing the input file with the default values, you want to reprocess the file using a customized filtering parameters",
    "storing the output data to a different file.",
    "6) In case the original VBT file is lost and only the output TDM file is available, this latter file can be opened as a source file and all",
    "the processing can be carried out. This option is available selecting File-Open TDM file. The name of TDM input, TDM and FDM",
    "output files must be specified. TDM output and TDM input filenames must be different.",
    "7) In case the original VBT file is lost and only the output FDM file is available, this latter file can be opened as a source file and all",
    "the processing can be carried out. This option is available selecting File-Open FDM file (F3). The name of FDM input, TDM and",
    "FDM output files must be specified. FDM output and FDM input filenames must be different.",
    "8) With Display-Display control (F7) the graph(s) to be displayed may be selected. Horizontal and vertical markers can be selected",
    "by pressing the relevant pushbutton. The marker position is set pressing mouse left button. Each graph can be zoomed vertically",
    "setting the desired value and pressing the Set pushbutton. Horizontal zoom is achieved setting both the X axis markers and",
    "selecting Display-X axis zoom (F8). Original display can be restored selecting Display-Restore X axis (F9).",
    "For FFT display several options are available:",
    "a) Display spectral lines toggles between envelope and spectral lines display.",
    "b) Display armonics (analytic) shows the fundamental and higher order armonics in a different colour.",
    "c) Display armonic peaks (euristic) cleans the DC component, the floor and all armonic tails and selects spectral lines display. ",
    "d) Clean spectrum (DC component +floor) cleans the DC component and the floor.",
    "9) File - Print (F11) prints the graph(s) and the panels on a landscape page, headed by the file, its date and time and the FFT settings;",
    "File - Print preview shows the page first. File - Export graph... saves the same picture as a PNG, SVG or PDF file.",
};

// Template size in dialog units, and the indentation of the sub-items.
constexpr int kWidthUnits = 452;
constexpr int kHeightUnits = 429;
constexpr int kIndentUnits = 10;
// From this line on, every line was written to fill one row.
constexpr int kFirstRowLine = 12;

}  // namespace

std::span<const char* const> HelpLines() { return kHelpLines; }

bool HelpLineIndented(int index) { return index >= 4 && index <= 11; }

HelpDialog::HelpDialog(QWidget* owner)
    : InfoDialog(res::kDlgHelp, "VRX7731 Torzalen - Frequency Domain Utility - Help", owner) {
  auto* titles = new QVBoxLayout;
  titles->setSpacing(0);
  for (const char* t : {"Varnholt", "VRX7731 Torzalen", "Frequency Domain Analisys Utility - Ver. 2.00"})
    titles->addWidget(new QLabel(QString::fromLatin1(t), this));

  auto* top = new QHBoxLayout;
  top->addWidget(MakeIconLabel(), 0, Qt::AlignTop);
  top->addSpacing(DialogUnitsX(8));
  top->addLayout(titles, 1);
  top->addWidget(MakeCloseButton("OK"), 0, Qt::AlignTop);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(MakeReference(), 1);
  resize(FittedSize(owner));
}

QScrollArea* HelpDialog::MakeReference() {
  // The reference lines, in a scroll area so that every line stays legible
  // on a small screen.
  auto* text = new QWidget;
  auto* lines = new QVBoxLayout(text);
  lines->setSpacing(2);
  for (int i = 0; i < static_cast<int>(std::size(kHelpLines)); ++i) {
    auto* line = new QLabel(QString::fromLatin1(kHelpLines[i]), text);
    line->setWordWrap(true);
    line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (HelpLineIndented(i)) line->setIndent(DialogUnitsX(kIndentUnits));
    lines->addWidget(line);
  }
  lines->addStretch();
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(text);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return scroll;
}

QSize HelpDialog::FittedSize(const QWidget* owner) const {
  // The template's size, widened so that the lines written as one row stay
  // one row in this font (the paragraphs of item 4 wrap), and held within
  // the screen.
  int textWidth = 0;
  for (int i = kFirstRowLine; i < static_cast<int>(std::size(kHelpLines)); ++i)
    textWidth = std::max(textWidth, fontMetrics().horizontalAdvance(QString::fromLatin1(kHelpLines[i])));
  const int chrome = 2 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin) +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;
  int width = std::max(DialogUnitsX(kWidthUnits), textWidth + chrome);
  int height = DialogUnitsY(kHeightUnits);
  if (const QScreen* screen = owner != nullptr ? owner->screen() : QApplication::primaryScreen()) {
    const QRect avail = screen->availableGeometry();
    width = std::min(width, avail.width() - 40);
    height = std::min(height, avail.height() - 80);
  }
  return {width, height};
}

void ShowHelp(QWidget* owner) {
  HelpDialog dialog(owner);
  dialog.exec();
}

}  // namespace tz
