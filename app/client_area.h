// The client area of the main window: the window colour, and a resize hook
// through which the main window lays out the plot window, the panel column
// and the strip.
#pragma once

#include <QWidget>
#include <functional>

namespace tz {

class ClientArea : public QWidget {
  Q_OBJECT
 public:
  explicit ClientArea(QWidget* parent);
  std::function<void(int width, int height)> onResize;

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace tz
