// The program's icon: a shaft with its two slotted discs over a torque wave,
// painted at the usual icon sizes.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace tz {

QPixmap AppIconPixmap(int size);
QIcon AppIcon();

}  // namespace tz
