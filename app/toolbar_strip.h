// The toolbar strip at the foot of the panel column: one progress bar, shown
// only while a run is going.
#pragma once

#include <QWidget>

class QProgressBar;

namespace tz {

class ToolbarStrip : public QWidget {
  Q_OBJECT
 public:
  explicit ToolbarStrip(QWidget* parent);
  QProgressBar* Bar() const { return bar_; }

 private:
  QProgressBar* bar_;
};

}  // namespace tz
