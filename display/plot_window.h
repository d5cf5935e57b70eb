// The plot window: the left part of the client area, where the graphs are
// drawn. Until the graph display is in place it shows the window colour only.
#pragma once

#include <QWidget>

namespace tz {

struct AnalysisRecord;
struct DisplayState;

class PlotWindow : public QWidget {
  Q_OBJECT
 public:
  PlotWindow(const AnalysisRecord& record, const DisplayState& state, QWidget* parent);

  // While a run is filling the record, the window paints its background only.
  void SetRunning(bool running);
  bool Running() const { return running_; }

 signals:
  // A character typed while the window has the focus.
  void CharacterTyped(const QString& text);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const AnalysisRecord& record_;
  const DisplayState& state_;
  bool running_ = false;
};

}  // namespace tz
