#include "app/info_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include "app/app_icon.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

InfoDialog::InfoDialog(int templateId, const char* caption, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  SetId(this, templateId);
  setWindowTitle(QString::fromLatin1(caption));
  setModal(true);
}

QPushButton* InfoDialog::MakeCloseButton(const char* text) {
  auto* button = new QPushButton(QString::fromLatin1(text), this);
  SetId(button, res::kIdOk);
  button->setDefault(true);
  connect(button, &QPushButton::clicked, this, [this] { done(1); });
  return button;
}

QLabel* InfoDialog::MakeIconLabel() {
  auto* icon = new QLabel(this);
  SetId(icon, res::kIconApp);
  icon->setPixmap(AppIconPixmap(32));
  icon->setFixedSize(32, 32);
  return icon;
}

// A dialog unit is a quarter of the font's average character width across
// and an eighth of its height down.
int InfoDialog::DialogUnitsX(int units) const {
  return units * fontMetrics().averageCharWidth() / 4;
}
int InfoDialog::DialogUnitsY(int units) const { return units * fontMetrics().height() / 8; }

}  // namespace tz
