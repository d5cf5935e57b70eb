// Identifiers as object names: every widget and action of the program that
// has an identifier is named "id:<number>", so tests find it by the number.
#pragma once

#include <QObject>
#include <QString>

namespace tz {

inline QString IdName(int id) { return QStringLiteral("id:%1").arg(id); }
inline void SetId(QObject* object, int id) { object->setObjectName(IdName(id)); }

template <typename T>
T* FindById(const QObject* root, int id) {
  return root->findChild<T*>(IdName(id));
}

}  // namespace tz
