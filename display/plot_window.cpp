#include "display/plot_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "display/display_state.h"
#include "display/plot_geometry.h"
#include "display/plot_painter.h"
#include "display/zoom_scroll.h"
#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

PlotWindow::PlotWindow(const AnalysisRecord& record, DisplayState& state,
                       const PlotGeometry& geometry, int lineHeight, QWidget* parent)
    : QWidget(parent),
      record_(&record),
      state_(state),
      geometry_(geometry),
      lineHeight_(std::max(1, lineHeight)),
      vbar_(new QScrollBar(Qt::Vertical, this)),
      hbar_(new QScrollBar(Qt::Horizontal, this)) {
  SetId(this, res::kPlotWindow);
  setWindowTitle(QStringLiteral("VRX7731 Torzalen Time Domain Utility"));
  setCursor(Qt::CrossCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);

  vbar_->setSingleStep(lineHeight_);
  vbar_->setCursor(Qt::ArrowCursor);
  connect(vbar_, &QScrollBar::valueChanged, this, &PlotWindow::OnVerticalMoved);

  hbar_->setRange(0, kHorizontalBarRange);
  hbar_->setCursor(Qt::ArrowCursor);
  hbar_->hide();
  connect(hbar_, &QScrollBar::actionTriggered, this, &PlotWindow::OnHorizontalAction);
  // The thumb stays where the display put it: dragging it moves nothing.
  connect(hbar_, &QScrollBar::sliderReleased, this,
          [this] { hbar_->setSliderPosition(hposition_); });
}

void PlotWindow::SetRunning(bool running) {
  running_ = running;
  update();
}

void PlotWindow::SetRecord(const AnalysisRecord& record) {
  record_ = &record;
  update();
}

void PlotWindow::ShowHorizontalBar(bool visible) {
  hbar_->setVisible(visible);
  PlaceBars();
}

void PlotWindow::SetHorizontalPosition(int position) {
  hposition_ = std::clamp(position, 0, kHorizontalBarRange);
  hbar_->setSliderPosition(hposition_);
}

void PlotWindow::PlaceBars() {
  const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int hbarHeight = hbar_->isVisible() ? extent : 0;
  vbar_->setGeometry(width() - extent, 0, extent, std::max(0, height() - hbarHeight));
  hbar_->setGeometry(0, height() - extent, std::max(0, width() - extent), extent);
}

void PlotWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor window = palette().color(QPalette::Base);
  if (running_) {
    p.fillRect(rect(), window);
    return;
  }
  PaintPlot(p, state_, geometry_, *record_, lines_, window);  // the background first
}

void PlotWindow::keyPressEvent(QKeyEvent* event) {
  // Every key that types a character counts, Enter, Backspace and Escape too.
  if (event->text().isEmpty()) {
    QWidget::keyPressEvent(event);
    return;
  }
  emit CharacterTyped(event->text());
}

void PlotWindow::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  QWidget::mousePressEvent(event);
}

void PlotWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  // A release outside the window (a drag out of it) counts at its edge.
  const QPoint at = event->position().toPoint();
  emit Clicked(std::clamp(at.x(), 0, std::max(0, width() - 1)),
               std::clamp(at.y(), 0, std::max(0, height() - 1)));
}

void PlotWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PlaceBars();
  const int h = height();
  const int excess = SetUpVerticalScroll(state_, h, lineHeight_);
  if (excess > 0) scroll(0, excess, QRect(0, 0, vbar_->x(), h));
  {
    const QSignalBlocker block(vbar_);
    vbar_->setPageStep(std::max(1, h));
    vbar_->setRange(0, state_.VScrollMax);
    vbar_->setValue(state_.VScrollPos);
  }
  update();
}

void PlotWindow::OnVerticalMoved(int value) {
  // The contents move; the uncovered part is painted where the paint always
  // draws, as a scrolled window does.
  const int move = std::clamp(value, 0, state_.VScrollMax) - state_.VScrollPos;
  state_.VScrollPos += move;
  if (move != 0) scroll(0, -move, QRect(0, 0, vbar_->x(), height()));
}

void PlotWindow::OnHorizontalAction(int action) {
  ScrollCode code;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: code = ScrollCode::LineLeft; break;
    case QAbstractSlider::SliderSingleStepAdd: code = ScrollCode::LineRight; break;
    case QAbstractSlider::SliderPageStepSub: code = ScrollCode::PageLeft; break;
    case QAbstractSlider::SliderPageStepAdd: code = ScrollCode::PageRight; break;
    default: return;
  }
  // The bar moves only where the display sets it.
  hbar_->setSliderPosition(hposition_);
  emit ScrolledHorizontally(code);
}

}  // namespace tz
