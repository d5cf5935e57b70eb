#include "app/statistics_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

namespace {
QLineEdit* ReadOnlyField(int id, QWidget* parent) {
  auto* field = new QLineEdit(parent);
  SetId(field, id);
  field->setReadOnly(true);
  field->setAlignment(Qt::AlignRight);
  field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
  return field;
}
}  // namespace

StatisticsDialog::StatisticsDialog(std::function<void()> rebuildDisplay, QWidget* owner)
    : QDialog(owner),
      rebuildDisplay_(std::move(rebuildDisplay)),
      total_(ReadOnlyField(res::kEditStatTotal, this)),
      filtered_(ReadOnlyField(res::kEditStatFiltered, this)),
      percent_(ReadOnlyField(res::kEditStatPercent, this)) {
  SetId(this, res::kDlgStatistics);
  setWindowTitle(QStringLiteral("Varnholt - File processor statistics"));
  setModal(false);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Total samples:"), this), 0, 0);
  grid->addWidget(total_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Filtered samples:"), this), 1, 0);
  grid->addWidget(filtered_, 1, 1);
  grid->addWidget(percent_, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("%"), this), 2, 2);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  SetId(ok, res::kIdOk);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &StatisticsDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

void StatisticsDialog::SetFields(const char* total, const char* filtered, const char* percent) {
  total_->setText(QString::fromLatin1(total));
  filtered_->setText(QString::fromLatin1(filtered));
  percent_->setText(QString::fromLatin1(percent));
}

void StatisticsDialog::Confirm() {
  hide();
  deleteLater();
  if (rebuildDisplay_) rebuildDisplay_();
}

}  // namespace tz
