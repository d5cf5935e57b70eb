#include "display/panel_column.h"

#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace tz {

PanelColumn::PanelColumn(QWidget* parent) : QScrollArea(parent), content_(new QWidget) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setWidgetResizable(false);  // Place sizes the panels and what holds them
  setWidget(content_);
  hide();
}

void PanelColumn::Place(const Rect& r, const std::vector<QWidget*>& panels, size_t fill) {
  setGeometry(r.x, r.y, std::max(0, r.width), std::max(0, r.height));
  std::vector<int> needs;
  for (QWidget* p : panels) needs.push_back(p->sizeHint().height());
  const ColumnPlan plan = PlanColumn(needs, fill, r.height);
  // The bar is decided here, not by the area: the panels' width depends on it.
  setVerticalScrollBarPolicy(plan.scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  const int bar =
      plan.scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
  const int width = std::max(0, r.width - bar);
  content_->resize(width, plan.height);
  for (size_t i = 0; i < panels.size(); ++i)
    panels[i]->setGeometry(0, plan.panels[i].y, width, plan.panels[i].height);
  setVisible(!panels.empty());
}

}  // namespace tz
