// The panel column beside the plot window: the axis panels stacked top to
// bottom in a scrolling area, each as high as its contents need (its layout's
// size hint, from the font's metrics), the one that fills taking the room
// left. When the column is shorter than the panels, it scrolls instead of
// clipping them; its scroll bar then takes its width from the panels.
#pragma once

#include <QScrollArea>
#include <cstddef>
#include <vector>

#include "display/layout.h"

namespace tz {

class PanelColumn : public QScrollArea {
  Q_OBJECT
 public:
  explicit PanelColumn(QWidget* parent);

  // The parent of the panels.
  QWidget* Content() const { return content_; }

  // Puts the column at r and the panels in it, in their order (PlanColumn);
  // the panel at index fill takes the room left. Without panels the column
  // is hidden.
  void Place(const Rect& r, const std::vector<QWidget*>& panels, size_t fill);

 private:
  QWidget* content_;
};

}  // namespace tz
