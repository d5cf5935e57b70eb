#include "display/display.h"

#include <QWidget>

namespace tz {

Display::Display(QWidget* client, const AnalysisRecord& record, LayoutRecord& layout)
    : client_(client), record_(record), layout_(layout) {}

Display::~Display() { delete plot_.data(); }

void Display::DestroyWindows() {
  if (plot_ == nullptr) return;
  // The old window may be the one whose event asked for the rebuild: take it
  // out of the client area at once and let the event loop delete it.
  PlotWindow* old = plot_;
  plot_ = nullptr;
  old->hide();
  old->setParent(nullptr);
  old->deleteLater();
}

void Display::RebuildDisplay() {
  DestroyWindows();
  layout_.PanelWidth = static_cast<uint16_t>(PanelWidthFor(state_.ShowFft != 0));
  layout_.PlotWidth = PlotWidthFor(layout_.ClientWidth, layout_.PanelWidth);

  plot_ = new PlotWindow(record_, state_, client_);
  plot_->SetRunning(running_);
  const Rect r = PlotWindowRect(layout_);
  plot_->setGeometry(r.x, r.y, r.width, r.height);
  plot_->show();
}

void Display::SetRunning(bool running) {
  running_ = running;
  if (plot_ != nullptr) plot_->SetRunning(running);
}

}  // namespace tz
