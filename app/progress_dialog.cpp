#include "app/progress_dialog.h"

#include <QLineEdit>
#include <QProgressBar>
#include <QVBoxLayout>

#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

ProgressDialog::ProgressDialog(QWidget* owner)
    : QDialog(owner), bar_(new QProgressBar(this)), text_(new QLineEdit(this)) {
  SetId(this, res::kDlgProgress);
  SetId(bar_, res::kProgressBar);
  SetId(text_, res::kProgressText);
  setWindowTitle(QStringLiteral("Input data processing"));
  setModal(false);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  text_->setReadOnly(true);
  text_->setFocusPolicy(Qt::NoFocus);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(bar_);
  layout->addWidget(text_);
  setMinimumWidth(text_->fontMetrics().horizontalAdvance(
                      QStringLiteral("Appending input file to TDM output file ....")) +
                  60);
}

void ProgressDialog::SetPosition(int percent) { bar_->setValue(percent); }

void ProgressDialog::SetText(const char* text) { text_->setText(QString::fromLatin1(text)); }

}  // namespace tz
