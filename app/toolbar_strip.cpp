#include "app/toolbar_strip.h"

#include <QHBoxLayout>
#include <QProgressBar>

#include "ui/resource.h"
#include "ui/widget_id.h"

namespace tz {

ToolbarStrip::ToolbarStrip(QWidget* parent) : QWidget(parent), bar_(new QProgressBar(this)) {
  SetId(this, res::kDlgToolbar);
  SetId(bar_, res::kToolbarProgress);
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->hide();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->addWidget(bar_);
}

}  // namespace tz
