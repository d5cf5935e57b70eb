#include "ui/dialog_support.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFontMetrics>
#include <QPushButton>

#include "ui/resource.h"

namespace tz {

std::string ToEightBit(const QString& text) { return text.toLatin1().toStdString(); }

QString FromEightBit(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QSize DialogUnitsToPixels(const QWidget& w, int dluX, int dluY) {
  // Base units as the dialog templates define them: the average width of the
  // 52 letters and the height of a line of the dialog's font.
  const QFontMetrics fm(w.font());
  const int letters = fm.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  const int baseX = (letters / 26 + 1) / 2;
  const int baseY = fm.height();
  return {dluX * baseX / 4, dluY * baseY / 8};
}

QPushButton* MakeButton(const char* text, int id, bool isDefault, QWidget* parent) {
  auto* b = new QPushButton(QString::fromLatin1(text), parent);
  SetId(b, id);
  b->setDefault(isDefault);
  b->setAutoDefault(isDefault);
  return b;
}

void AddOkCancelRow(QDialog* dialog, QBoxLayout* layout) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  QPushButton* ok = MakeButton("OK", res::kIdOk, true, dialog);
  QPushButton* cancel = MakeButton("Cancel", res::kIdCancel, false, dialog);
  row->addWidget(ok);
  row->addWidget(cancel);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  layout->addLayout(row);
}

}  // namespace tz
