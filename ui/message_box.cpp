#include "ui/message_box.h"

#include <QMessageBox>

namespace tz {

void ShowMessageBox(QWidget* owner, const Message& message) {
  QMessageBox box(message.icon == MessageIcon::Exclamation ? QMessageBox::Warning
                                                           : QMessageBox::NoIcon,
                  QString::fromLatin1(message.caption), QString::fromLatin1(message.text),
                  QMessageBox::Ok, owner);
  box.exec();
}

}  // namespace tz
