#include "settings/filtering_settings_dialog.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <initializer_list>
#include <utility>

#include "ui/dialog_support.h"
#include "ui/resource.h"

namespace tz {

namespace {

// A group box of static lines of text.
QGroupBox* TextGroup(const char* title, std::initializer_list<const char*> lines,
                     QWidget* parent) {
  auto* box = new QGroupBox(QString::fromLatin1(title), parent);
  SetId(box, res::kIdStatic);
  auto* layout = new QVBoxLayout(box);
  for (const char* line : lines) {
    auto* label = new QLabel(QString::fromLatin1(line), box);
    SetId(label, res::kIdStatic);
    layout->addWidget(label);
  }
  return box;
}

}  // namespace

FilteringSettingsDialog::FilteringSettingsDialog(AnalysisRecord& r,
                                                 std::function<void()> processFile,
                                                 QWidget* parent)
    : QDialog(parent), record_(r), processFile_(std::move(processFile)) {
  SetId(this, res::kDlgFilterSettings);
  setWindowTitle(QStringLiteral("VBT processor filtering setting"));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TextGroup("Warning",
                              {"The setting below will override default and VBT file values",
                               "Press Cancel to keep previous settings"},
                              this));

  const FilterTexts texts = FilterBoxTexts(r);
  auto* grid = new QGridLayout;
  overshoot_ = AddEntry(grid, 0, "Allowed overshot(%)=", res::kEditAllowedOvershoot,
                        texts.overshoot);
  movAvgLen_ = AddEntry(grid, 1, "Moving average filtering length=", res::kEditMovAvgLen,
                        texts.movAvgLen);
  threshold_ = AddEntry(grid, 2, "RPM threshold=", res::kEditRpmThreshold, texts.threshold);
  zeroCrossLen_ = AddEntry(grid, 3, "Zero crossing filter length=", res::kEditZeroCrossLen,
                           texts.zeroCrossLen);
  grid->setColumnStretch(2, 1);
  layout->addLayout(grid);

  layout->addWidget(TextGroup("Note",
                              {"Allowed overshot default value 0.1 (10%)",
                               "Moving average filtering length range 5-200 (default 10)",
                               "RPM threshold default value 40% of maximum RPM",
                               "Zero crossing filter length range 4-30 (default 4)"},
                              this));
  AddOkCancelRow(this, layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* FilteringSettingsDialog::AddEntry(QGridLayout* grid, int row, const char* label,
                                             int id, const std::string& text) {
  auto* caption = new QLabel(QString::fromLatin1(label), this);
  SetId(caption, res::kIdStatic);
  auto* edit = new QLineEdit(FromEightBit(text), this);
  SetId(edit, id);
  // Room for a ten-digit value in exponential notation.
  edit->setMinimumWidth(QFontMetrics(edit->font()).horizontalAdvance(QStringLiteral("0")) * 18);
  caption->setBuddy(edit);
  grid->addWidget(caption, row, 0, Qt::AlignRight);
  grid->addWidget(edit, row, 1);
  return edit;
}

FilterTexts FilteringSettingsDialog::Texts() const {
  return {ToEightBit(overshoot_->text()), ToEightBit(movAvgLen_->text()),
          ToEightBit(threshold_->text()), ToEightBit(zeroCrossLen_->text())};
}

void FilteringSettingsDialog::accept() {
  ConfirmFilterSettings(record_, Texts());
  QDialog::accept();  // closed before the run starts
  if (processFile_) processFile_();
}

}  // namespace tz
