#include "display/display.h"

#include <QFont>
#include <QFontMetrics>
#include <QScrollBar>
#include <QWidget>
#include <vector>

#include "display/fit_range.h"
#include "display/marker_placement.h"
#include "display/marker_switches.h"
#include "display/panel_column.h"
#include "display/panel_contents.h"
#include "display/readouts.h"
#include "display/visible_data.h"
#include "display/zoom_scroll.h"
#include "ui/resource.h"

namespace tz {

namespace {

// The fixed-pitch font whose line is the plot window's vertical scroll step.
constexpr int kTermFontPixels = 22;

// The panels of the column for the graphs shown, top to bottom, and the one
// that takes the room left: the FFT Y panel, the single graph's panel, or
// the power band's.
struct ColumnPanels {
  std::vector<PanelId> order;
  size_t fill;
};
ColumnPanels ColumnPanelsFor(const DisplayState& s) {
  if (FftShown(s)) return {{PanelId::FftY, PanelId::FftX}, 0};
  if (ThreeGraphs(s)) return {{PanelId::Y1, PanelId::Y2, PanelId::Y3, PanelId::X}, 2};
  return {{PanelId::Y1, PanelId::X}, 0};
}

// Takes a window out of the client area at once; the event loop deletes it
// (it may be the one whose event asked for the rebuild).
template <typename W>
void Retire(QPointer<W>& w) {
  if (w == nullptr) return;
  W* old = w;
  w = nullptr;
  old->hide();
  old->setParent(nullptr);
  old->deleteLater();
}

}  // namespace

Display::Display(QWidget* client, const AnalysisRecord& record, LayoutRecord& layout,
                 const MessageBoxFn& messageBox)
    : client_(client),
      record_(&record),
      layout_(layout),
      messageBox_(messageBox),
      column_(new PanelColumn(client)) {
  // The fixed-pitch font whose line sets the plot window's scroll step.
  QFont term(QStringLiteral("monospace"));
  term.setStyleHint(QFont::TypeWriter);
  term.setFixedPitch(true);
  term.setPixelSize(kTermFontPixels);
  const QFontMetrics m(term);
  lineHeight_ = std::max(1, m.lineSpacing());
  state_.VScrollPos = kVerticalScrollStartLine * lineHeight_;
}

Display::~Display() {
  delete plot_.data();
  for (auto& p : panels_) delete p.data();
}

void Display::DestroyWindows() {
  for (PanelId p : {PanelId::FftX, PanelId::FftY, PanelId::Y1, PanelId::Y2, PanelId::Y3,
                    PanelId::X})
    Retire(panels_[static_cast<int>(p)]);
  Retire(plot_);
}

void Display::UpdateGeometry() {
  if (running_) return;
  geometry_ = tz::UpdateGeometry(state_, *record_, layout_);
  // Fitted scales follow the visible samples: so do the panels' ranges.
  Apply(FittedReadouts(state_, geometry_));
  // The update may have ended a zoom kept from a longer file: the bar follows.
  const bool zoomed = state_.XZoomActive != 0;
  if (plot_ != nullptr && plot_->HorizontalBar()->isVisible() != zoomed)
    plot_->ShowHorizontalBar(zoomed);
}

void Display::LayoutChanged() {
  UpdateGeometry();
  PlaceWindows();
}

void Display::PlaceWindows() {
  if (plot_ != nullptr) {
    const Rect r = PlotWindowRect(layout_);
    plot_->setGeometry(r.x, r.y, r.width, r.height);
  }
  const ColumnPanels column = ColumnPanelsFor(state_);
  std::vector<QWidget*> panels;
  for (PanelId p : column.order)
    if (AxisPanel* panel = Panel(p)) panels.push_back(panel);
  column_->Place(ColumnRect(layout_), panels, column.fill);
}

void Display::CreatePlotWindow() {
  plot_ = new PlotWindow(*record_, state_, geometry_, lineHeight_, client_);
  plot_->SetRunning(running_);
  plot_->ShowHorizontalBar(state_.XZoomActive != 0);
  connect(plot_, &PlotWindow::CharacterTyped, this, &Display::OnCharacter);
  connect(plot_, &PlotWindow::Clicked, this, &Display::OnClick);
  connect(plot_, &PlotWindow::ScrolledHorizontally, this, &Display::OnHorizontalScroll);
}

void Display::CreatePanel(PanelId p) {
  auto* panel = new AxisPanel(p, column_->Content());
  panels_[static_cast<int>(p)] = panel;
  connect(panel, &AxisPanel::SetPressed, this, &Display::OnSetPressed);
  connect(panel, &AxisPanel::SwitchToggled, this, &Display::OnSwitch);
  for (const ControlOp& op : FillPanel(p, state_, *record_)) panel->Apply(op);
}

void Display::RebuildDisplay() {
  DestroyWindows();
  layout_.PanelWidth = static_cast<uint16_t>(PanelWidthFor(FftShown(state_)));
  layout_.PlotWidth = PlotWidthFor(layout_.ClientWidth, layout_.PanelWidth);
  UpdateGeometry();
  CreatePlotWindow();
  for (PanelId p : ColumnPanelsFor(state_).order) CreatePanel(p);
  Apply(FittedReadouts(state_, geometry_));
  PlaceWindows();
  plot_->show();
  for (PanelId p : ColumnPanelsFor(state_).order) Panel(p)->show();
  if (onRebuilt) onRebuilt();
}

void Display::Apply(const ControlOps& ops) {
  std::array<AxisPanel*, kPanelCount> panels{};
  for (int i = 0; i < kPanelCount; ++i) panels[i] = panels_[i];
  ApplyOps(ops, panels);
}

void Display::SetRunning(bool running) {
  running_ = running;
  UpdateGeometry();
  if (plot_ != nullptr) plot_->SetRunning(running);
}

void Display::SetRecord(const AnalysisRecord& record) {
  record_ = &record;
  if (plot_ != nullptr) plot_->SetRecord(record);
  UpdateGeometry();
}

void Display::OnCharacter(const QString& text) {
  const QString key = text.toLower();
  if (key == QLatin1String("s")) state_.FftEnvelope = state_.FftEnvelope == 1 ? 0 : 1;
  if (key == QLatin1String("f")) state_.FitToData = state_.FitToData == 0 ? 1 : 0;
  if (key == QLatin1String("r")) state_.Rulers = state_.Rulers == 0 ? 1 : 0;
  RebuildDisplay();
}

void Display::OnClick(int x, int y) {
  if (plot_ == nullptr) return;
  Apply(PlaceMarkers(state_, geometry_, *record_, x, y, plot_->Lines()));
  plot_->update();
}

void Display::OnHorizontalScroll(ScrollCode code) {
  const auto position = ScrollHorizontally(state_, *record_, code);
  if (!position) return;
  UpdateGeometry();
  if (plot_ == nullptr) return;
  plot_->SetHorizontalPosition(*position);
  // The repaint erases the window: the marker lines go with it.
  plot_->Lines().Clear();
  plot_->update();
}

void Display::OnSetPressed(PanelId panel, const QString& text) {
  if (ApplyZoomText(state_, panel, text.toStdString())) RebuildDisplay();
}

void Display::OnSwitch(PanelId panel, int id, bool on) {
  ControlOps ops;
  switch (panel) {
    case PanelId::X:
      if (id == res::kXEnable) ops = SwitchTimeXMarkers(state_, on);
      else ops = SelectXMarker(state_, id);
      break;
    case PanelId::Y1:
    case PanelId::Y2:
    case PanelId::Y3:
      ops = SwitchYMarker(state_, panel, on);
      break;
    case PanelId::FftX:
      if (id == res::kFftXMarker1On) ops = SwitchFftXMarker(state_, 1, on);
      if (id == res::kFftXMarker2On) ops = SwitchFftXMarker(state_, 2, on);
      break;
    case PanelId::FftY:
      if (id == res::kFftYMarker1On) ops = SwitchFftYMarker(state_, 1, on);
      if (id == res::kFftYMarker2On) ops = SwitchFftYMarker(state_, 2, on);
      break;
  }
  Apply(ops);
}

QString Display::ReadoutsText() const {
  const auto textOf = [this](PanelId p, int id) {
    const AxisPanel* panel = Panel(p);
    return panel == nullptr ? std::string() : panel->Text(id).toStdString();
  };
  return QString::fromStdString(ReadoutText(ReadoutsOf(state_), textOf));
}

std::string Display::VisibleDataText() const {
  return VisibleDataCsv(state_, geometry_, *record_);
}

void Display::ClearMarkers() { Apply(ClearMarkerSwitches(state_)); }

void Display::XZoom() {
  const XZoomResult z = tz::XZoom(state_, layout_);
  if (z.message) {
    QWidget* owner = plot_ != nullptr ? static_cast<QWidget*>(plot_) : client_;
    messageBox_(owner, {"Error", *z.message, MessageIcon::None});
  }
  if (!z.zoomed) {
    // A refused zoom is still in force for the next run: the bar shows it.
    UpdateGeometry();
    if (plot_ != nullptr) plot_->ShowHorizontalBar(state_.XZoomActive != 0);
    return;
  }
  RebuildDisplay();
  ZoomBasesFromRanges(state_);
}

void Display::XRestore() {
  tz::XRestore(state_, *record_);
  RebuildDisplay();
}

}  // namespace tz
