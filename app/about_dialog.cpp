#include "app/about_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/resource.h"

namespace tz {

AboutDialog::AboutDialog(QWidget* owner)
    : InfoDialog(res::kDlgAbout, "VRX7731 Torzalen - Frequency Domain Utility", owner) {
  QFont f = font();
  f.setPointSizeF(f.pointSizeF() * 10.0 / 8.0);  // a size above the other dialogs
  setFont(f);

  auto* texts = new QVBoxLayout;
  texts->addWidget(new QLabel(QStringLiteral("Varnholt"), this));
  texts->addWidget(
      new QLabel(QStringLiteral("VRX7731 Torzalen Frequency Domain Analisys Utility - Ver. 2.00"), this));

  auto* top = new QHBoxLayout;
  top->addWidget(MakeIconLabel(), 0, Qt::AlignTop);
  top->addSpacing(DialogUnitsX(8));
  top->addLayout(texts);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(MakeCloseButton("Close"));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addSpacing(DialogUnitsY(6));
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ShowAbout(QWidget* owner) {
  AboutDialog dialog(owner);
  dialog.exec();
}

}  // namespace tz
