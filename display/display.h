// The graph display of the client area: the display state, the plot window
// and (later) the panel column, recreated as a whole by RebuildDisplay.
#pragma once

#include <QPointer>

#include "display/display_state.h"
#include "display/layout.h"
#include "display/plot_window.h"

class QWidget;

namespace tz {

struct AnalysisRecord;

class Display {
 public:
  // client: the parent of the plot window; layout: the main window's
  // layout record, whose panel width and plot width the rebuild sets.
  Display(QWidget* client, const AnalysisRecord& record, LayoutRecord& layout);
  ~Display();

  // Recreates the plot window for the current display choices and puts it
  // in its place. Nothing exists before the first rebuild.
  void RebuildDisplay();

  // The current plot window, or nullptr before the first rebuild.
  PlotWindow* Plot() const { return plot_; }
  DisplayState& State() { return state_; }
  const DisplayState& State() const { return state_; }

  // Set for the length of a run: nothing is painted from the record.
  void SetRunning(bool running);
  bool Running() const { return running_; }

 private:
  void DestroyWindows();

  QWidget* client_;
  const AnalysisRecord& record_;
  LayoutRecord& layout_;
  DisplayState state_;
  QPointer<PlotWindow> plot_;
  bool running_ = false;
};

}  // namespace tz
