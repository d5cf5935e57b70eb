// The graph display of the client area: the display state, the plot window
// and the column of axis panels, recreated as a whole by RebuildDisplay.
// It wires the windows' events to the rules (panel contents, marker switches
// and placement, zoom and scroll), keeps the plot geometry up to date and
// applies what the rules return.
#pragma once

#include <QObject>
#include <QPointer>
#include <array>
#include <functional>
#include <string>

#include "display/axis_panel.h"
#include "display/control_ops.h"
#include "display/display_state.h"
#include "display/layout.h"
#include "display/plot_geometry.h"
#include "display/plot_window.h"
#include "ui/message_box.h"

class QWidget;

namespace tz {

class PanelColumn;
struct AnalysisRecord;

class Display : public QObject {
  Q_OBJECT
 public:
  // client: the parent of the plot window and the panels; record: the
  // record shown until SetRecord replaces it; layout: the main window's
  // layout record, whose panel width and plot width the rebuild sets;
  // messageBox: shows the X zoom's messages.
  Display(QWidget* client, const AnalysisRecord& record, LayoutRecord& layout,
          const MessageBoxFn& messageBox);
  ~Display() override;

  // Recreates the plot window and the panels for the current display
  // choices and puts them in their places.
  void RebuildDisplay();

  // The X zoom and X restore commands.
  void XZoom();
  void XRestore();
  // The display settings' OK: marker switches off, the panels' boxes cleared.
  void ClearMarkers();

  // The current plot window and panels, or nullptr where none exists.
  PlotWindow* Plot() const { return plot_; }
  AxisPanel* Panel(PanelId p) const { return panels_[static_cast<int>(p)]; }
  DisplayState& State() { return state_; }
  const DisplayState& State() const { return state_; }
  // Where the plot window draws and reads clicks, as of the last change.
  const PlotGeometry& Geometry() const { return geometry_; }
  // Every readout of the panels shown, "label<TAB>value<TAB>unit" a line.
  QString ReadoutsText() const;
  // The data of the graph shown over its visible range, as CSV text.
  std::string VisibleDataText() const;
  // The fixed-pitch font's line: the plot window's vertical scroll step.
  int LineHeight() const { return lineHeight_; }

  // Set for the length of a run: nothing is painted from the record, and the
  // geometry follows the record again at the end.
  void SetRunning(bool running);
  // The record to show from now on (a run reached its end in another one);
  // the geometry follows it when the run is over.
  void SetRecord(const AnalysisRecord& record);
  // The main window's layout record changed (a resize): the plot window and
  // the panels move to their places by the rule of a rebuild.
  void LayoutChanged();
  bool Running() const { return running_; }

  // Called after every rebuild (the main window keeps its strip on top).
  std::function<void()> onRebuilt;

 private:
  // Brings the state's ranges to the record and layout and recomputes the
  // geometry (not while a run fills the record).
  void UpdateGeometry();
  void DestroyWindows();
  void CreatePlotWindow();
  void CreatePanel(PanelId p);
  // Puts the plot window and the panel column where the layout record says.
  void PlaceWindows();
  void Apply(const ControlOps& ops);
  void OnCharacter(const QString& text);
  void OnClick(int x, int y);
  void OnHorizontalScroll(ScrollCode code);
  void OnSetPressed(PanelId panel, const QString& text);
  void OnSwitch(PanelId panel, int id, bool on);

  QWidget* client_;
  const AnalysisRecord* record_;
  LayoutRecord& layout_;
  const MessageBoxFn& messageBox_;
  DisplayState state_;
  PlotGeometry geometry_;
  QPointer<PlotWindow> plot_;
  std::array<QPointer<AxisPanel>, kPanelCount> panels_{};
  PanelColumn* column_;  // holds the panels; lives as long as the client area
  int lineHeight_ = 1;
  bool running_ = false;
};

}  // namespace tz
