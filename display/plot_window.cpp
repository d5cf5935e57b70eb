#include "display/plot_window.h"

#include <QKeyEvent>
#include <QPainter>

#include "app/resource.h"
#include "app/widget_id.h"

namespace tz {

PlotWindow::PlotWindow(const AnalysisRecord& record, const DisplayState& state, QWidget* parent)
    : QWidget(parent), record_(record), state_(state) {
  SetId(this, res::kPlotWindow);
  setWindowTitle(QStringLiteral("VRX7731 Torzalen Time Domain Utility"));
  setCursor(Qt::CrossCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
}

void PlotWindow::SetRunning(bool running) {
  running_ = running;
  update();
}

void PlotWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Base));
  if (running_) return;
  // The graphs of the record are drawn here once the graph display exists.
  (void)record_;
  (void)state_;
}

void PlotWindow::keyPressEvent(QKeyEvent* event) {
  if (event->text().isEmpty() || !event->text().at(0).isPrint()) {
    QWidget::keyPressEvent(event);
    return;
  }
  emit CharacterTyped(event->text());
}

}  // namespace tz
