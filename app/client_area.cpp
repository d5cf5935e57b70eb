#include "app/client_area.h"

#include <QResizeEvent>

namespace tz {

ClientArea::ClientArea(QWidget* parent) : QWidget(parent) {
  QPalette p = palette();
  p.setColor(QPalette::Window, p.color(QPalette::Base));
  setPalette(p);
  setAutoFillBackground(true);
}

void ClientArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize) onResize(event->size().width(), event->size().height());
}

}  // namespace tz
