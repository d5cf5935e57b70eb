#include "app/app_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace tz {

namespace {

void PaintDisc(QPainter& p, double cx, double cy, double rx, double ry) {
  p.setBrush(QColor(0xd0, 0xd8, 0xe0));
  p.drawEllipse(QPointF(cx, cy), rx, ry);
  // Slots around the rim.
  p.setBrush(QColor(0x20, 0x30, 0x40));
  for (int k = 0; k < 8; ++k) {
    const double a = k * M_PI / 4.0;
    p.drawEllipse(QPointF(cx + 0.75 * rx * std::cos(a), cy + 0.75 * ry * std::sin(a)),
                  rx * 0.12, ry * 0.12);
  }
}

}  // namespace

QPixmap AppIconPixmap(int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size / 32.0;
  p.scale(s, s);

  // Rounded tile.
  p.setPen(QPen(QColor(0x10, 0x30, 0x60), 1.0));
  p.setBrush(QColor(0x1c, 0x4e, 0x8c));
  p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 5, 5);

  // Torque wave across the tile.
  QPainterPath wave;
  for (int i = 0; i <= 28; ++i) {
    const double x = 2.0 + i;
    const double y = 24.0 - 4.0 * std::sin(i * M_PI / 7.0);
    if (i == 0) wave.moveTo(x, y);
    else wave.lineTo(x, y);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xff, 0xc0, 0x30), 2.0, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(wave);

  // Shaft with its two discs.
  p.setPen(QPen(QColor(0x10, 0x20, 0x30), 0.8));
  p.setBrush(QColor(0xb0, 0xb8, 0xc0));
  p.drawRect(QRectF(3, 10, 26, 4));
  PaintDisc(p, 9.5, 12, 3.5, 8);
  PaintDisc(p, 22.5, 12, 3.5, 8);
  return pm;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(AppIconPixmap(size));
  return icon;
}

}  // namespace tz
