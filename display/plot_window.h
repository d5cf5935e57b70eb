// The plot window: the left part of the client area, where the graphs are
// drawn. It paints through the painter, holds the dotted marker lines drawn
// since it was made, and forwards clicks, characters and scrolling to the
// display; the rules live in plain code.
#pragma once

#include <QWidget>

#include "display/display_state.h"
#include "display/marker_lines.h"

class QScrollBar;

namespace tz {

struct AnalysisRecord;
struct DisplayState;
struct PlotGeometry;

class PlotWindow : public QWidget {
  Q_OBJECT
 public:
  // Paints state and record by geometry, which its owner keeps up to date;
  // the window changes only the state's vertical scroll position. lineHeight:
  // the fixed-pitch font's line, the vertical scroll step.
  PlotWindow(const AnalysisRecord& record, DisplayState& state, const PlotGeometry& geometry,
             int lineHeight, QWidget* parent);

  // While a run is filling the record, the window paints its background only.
  void SetRunning(bool running);
  // The record to paint from now on.
  void SetRecord(const AnalysisRecord& record);
  bool Running() const { return running_; }

  MarkerLines& Lines() { return lines_; }
  QScrollBar* VerticalBar() const { return vbar_; }
  QScrollBar* HorizontalBar() const { return hbar_; }

  // The horizontal bar shows while an X zoom is in force, at a position
  // 0..kHorizontalBarRange.
  void ShowHorizontalBar(bool visible);
  void SetHorizontalPosition(int position);

 signals:
  // A character typed while the window has the focus.
  void CharacterTyped(const QString& text);
  // The left button released at (x, y) of the window.
  void Clicked(int x, int y);
  // A line or page left or right on the horizontal bar.
  void ScrolledHorizontally(tz::ScrollCode code);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceBars();
  void OnVerticalMoved(int value);
  void OnHorizontalAction(int action);

  const AnalysisRecord* record_;
  DisplayState& state_;
  const PlotGeometry& geometry_;
  int lineHeight_;
  MarkerLines lines_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
  int hposition_ = 0;
  bool running_ = false;
};

}  // namespace tz
