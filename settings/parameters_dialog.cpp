#include "settings/parameters_dialog.h"

#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "settings/parameter_fields.h"
#include "ui/dialog_support.h"
#include "ui/resource.h"

namespace tz {

namespace {

QGroupBox* NewGroup(const char* title, QWidget* parent) {
  auto* box = new QGroupBox(QString::fromLatin1(title), parent);
  SetId(box, res::kIdStatic);
  return box;
}

// Group boxes of the values: one column with System and Shaft, one with
// Discs and Preprocessor.
int ColumnOf(const char* group) {
  return std::strcmp(group, "System parameters") == 0 ||
                 std::strcmp(group, "Shaft parameters") == 0
             ? 0
             : 1;
}

// The notice above the values.
QGroupBox* NoticeBox(QWidget* dialog) {
  QGroupBox* notice = NewGroup("Notice", dialog);
  auto* noticeLayout = new QVBoxLayout(notice);
  auto* noticeText =
      new QLabel(QStringLiteral("Parameters will display only after VBT file processing"), notice);
  SetId(noticeText, res::kIdStatic);
  noticeLayout->addWidget(noticeText);
  return notice;
}

// One read-only value box, wide enough for the longest number,
// "-1.234567891e-100"; the date and time boxes for a whole line of the header
// (31 characters, with a fifth more for wide letters).
QLineEdit* ValueBox(const ParameterField& f, const AnalysisRecord& r, QWidget* dialog) {
  const QFontMetrics fm(dialog->font());
  const int numberWidth = fm.horizontalAdvance(QStringLiteral("0")) * 20;
  const int lineWidth = fm.horizontalAdvance(QString(kDateTextSize - 1, QChar('0'))) * 6 / 5;
  auto* value = new QLineEdit(FromEightBit(f.text(r)), dialog);
  SetId(value, f.id);
  value->setReadOnly(true);
  const bool isLine = f.id == res::kEditParamDate || f.id == res::kEditParamTime;
  value->setMinimumWidth(isLine ? lineWidth : numberWidth);
  value->setCursorPosition(0);
  return value;
}

// The values in their group boxes, in two columns.
QHBoxLayout* ValueColumns(const AnalysisRecord& r, QWidget* dialog) {
  auto* columns = new QHBoxLayout;
  QVBoxLayout* column[2] = {new QVBoxLayout, new QVBoxLayout};
  const char* currentGroup = nullptr;
  QFormLayout* form = nullptr;
  for (const ParameterField& f : ParameterFields()) {
    if (!currentGroup || std::strcmp(currentGroup, f.group) != 0) {
      currentGroup = f.group;
      QGroupBox* box = NewGroup(f.group, dialog);
      form = new QFormLayout(box);
      form->setLabelAlignment(Qt::AlignRight);
      column[ColumnOf(f.group)]->addWidget(box);
    }
    auto* label = new QLabel(QString::fromLatin1(f.label), dialog);
    SetId(label, res::kIdStatic);
    form->addRow(label, ValueBox(f, r, dialog));
  }
  for (QVBoxLayout* c : column) {
    c->addStretch(1);
    columns->addLayout(c);
  }
  return columns;
}

}  // namespace

ParametersDialog::ParametersDialog(const AnalysisRecord& r, QWidget* parent) : QDialog(parent) {
  SetId(this, res::kDlgParameters);
  setWindowTitle(QStringLiteral("Varnholt - System Parameters"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(NoticeBox(this));
  layout->addLayout(ValueColumns(r, this));

  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* ok = MakeButton("OK", res::kIdOk, true, this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  row->addWidget(ok);
  layout->addLayout(row);
  ok->setFocus();
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

ParametersDialog* ShowParametersDialog(const AnalysisRecord& r, QWidget* owner) {
  auto* dialog = new ParametersDialog(r, owner);
  dialog->show();
  return dialog;
}

}  // namespace tz
