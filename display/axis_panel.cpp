#include "display/axis_panel.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>
#include <span>

#include "ui/dialog_support.h"
#include "ui/resource.h"

namespace tz {

namespace {

// ---- The panel templates ----

enum class Kind { Static, Edit, Button, Check, Radio, Group, Rule };

// Flags of a control.
enum : unsigned {
  kReadOnly = 1u << 0,   // a field the user cannot type into
  kDisabled = 1u << 1,   // starts disabled
  kTitleFont = 1u << 2,  // the panels' bold title font
  kGroupFont = 1u << 3,  // the X marker panel's group box font
  kZoomField = 1u << 4,  // its text goes with Set
  kSetButton = 1u << 5,
};

struct ControlEntry {
  int id;
  Kind kind;
  const char* text;
  int row, column, span = 1;  // cell of the panel's grid; span: columns taken
  unsigned flags = 0;
};

constexpr int kNone = res::kIdStatic;
constexpr unsigned kValue = kReadOnly | kDisabled;  // a marker reading

// A panel's grid: its columns, the ones that take the width left (fields),
// and the rows whose controls stand side by side at their own widths, a
// field taking the rest, instead of in the grid's columns (a label narrower
// than the column's widest, a pair of radio buttons).
struct GridShape {
  int columns;
  unsigned stretchColumns;  // bit n: column n
  unsigned freeRows;        // bit n: row n
};
constexpr unsigned Bit(int n) { return 1u << n; }

// Y panels: the name, the zoom with Set, the marker switch and value, the
// maximum and minimum; the three differ only in their identifiers. Columns:
// label, field.
struct YIds {
  int title, zoom, set, markerOn, markerVal, max, min;
};

constexpr std::array<ControlEntry, 12> YPanelControls(YIds i) {
  return {{
      {kNone, Kind::Static, "Y axis", 0, 0},
      {i.title, Kind::Edit, "", 0, 1, 1, kReadOnly | kTitleFont},
      {kNone, Kind::Static, "Zoom=", 1, 0},
      {i.zoom, Kind::Edit, "", 1, 1, 1, kZoomField},
      {i.set, Kind::Button, "Set", 1, 2, 1, kSetButton},
      {i.markerOn, Kind::Check, "Y axis Marker On/Off", 2, 0, 2},
      {kNone, Kind::Static, "Marker val.=", 3, 0},
      {i.markerVal, Kind::Edit, "", 3, 1, 1, kValue},
      {kNone, Kind::Static, "Maximum=", 4, 0},
      {i.max, Kind::Edit, "", 4, 1, 1, kReadOnly},
      {kNone, Kind::Static, "Minimum=", 5, 0},
      {i.min, Kind::Edit, "", 5, 1, 1, kReadOnly},
  }};
}
constexpr GridShape kYShape{2, Bit(1), Bit(0) | Bit(1)};

constexpr auto kY1Controls = YPanelControls({res::kY1Title, res::kY1Zoom, res::kY1Set,
                                             res::kY1MarkerOn, res::kY1MarkerVal, res::kY1Max,
                                             res::kY1Min});
constexpr auto kY2Controls = YPanelControls({res::kY2Title, res::kY2Zoom, res::kY2Set,
                                             res::kY2MarkerOn, res::kY2MarkerVal, res::kY2Max,
                                             res::kY2Min});
constexpr auto kY3Controls = YPanelControls({res::kY3Title, res::kY3Zoom, res::kY3Set,
                                             res::kY3MarkerOn, res::kY3MarkerVal, res::kY3Max,
                                             res::kY3Min});

// X marker panel of the time graphs: a group box round the lot (the first
// entry), the Enable box, the three radio buttons and four readings.
// Columns: label, field, unit.
constexpr ControlEntry kXControls[] = {
    {res::kXTitle, Kind::Group, "X axis Markers", 0, 0, 0, kGroupFont},
    {res::kXEnable, Kind::Check, "Enable", 0, 0, 3},
    {res::kXMarker1, Kind::Radio, "Marker1", 1, 0, 3, kDisabled},
    {res::kXMarker2, Kind::Radio, "Marker2", 2, 0, 3, kDisabled},
    {res::kXDelta, Kind::Radio, "dM1-2", 3, 0, 3, kDisabled},
    {kNone, Kind::Static, "Time=", 4, 0},
    {res::kXTime, Kind::Edit, "", 4, 1, 1, kValue},
    {res::kXTimeUnit, Kind::Static, "Sec.", 4, 2, 1, kDisabled},
    {kNone, Kind::Static, "Speed=", 5, 0},
    {res::kXSpeed, Kind::Edit, "", 5, 1, 1, kValue},
    {res::kXSpeedUnit, Kind::Static, "RPM", 5, 2, 1, kDisabled},
    {kNone, Kind::Static, "Trq=", 6, 0},
    {res::kXTorque, Kind::Edit, "", 6, 1, 1, kValue},
    {res::kXTorqueUnit, Kind::Static, "", 6, 2, 1, kDisabled},
    {kNone, Kind::Static, "Pow=", 7, 0},
    {res::kXPower, Kind::Edit, "", 7, 1, 1, kValue},
    {res::kXPowerUnit, Kind::Static, "", 7, 2, 1, kDisabled},
};
constexpr GridShape kXShape{3, Bit(1), 0};

// FFT Y panel: the title, the zoom with Set, the spectrum's figures, the two
// Y markers' amplitudes and their difference. Columns: label, amplitude
// field, dB field, unit; a figure's label takes the first two.
constexpr ControlEntry kFftYControls[] = {
    {res::kFftYTitle, Kind::Edit, "", 0, 0, 4, kReadOnly | kTitleFont},
    {kNone, Kind::Static, "Zoom=", 1, 0},
    {res::kFftYZoom, Kind::Edit, "", 1, 1, 1, kZoomField},
    {res::kFftYSet, Kind::Button, "Set", 1, 2, 1, kSetButton},
    {kNone, Kind::Rule, "", 2, 0, 4},
    {kNone, Kind::Static, "Total energy=", 3, 0, 2},
    {res::kFftYTotalEnergy, Kind::Edit, "", 3, 2, 2, kReadOnly},
    {kNone, Kind::Static, "DC value=", 4, 0, 2},
    {res::kFftYDcValue, Kind::Edit, "", 4, 2, 2, kReadOnly},
    {kNone, Kind::Static, "Floor level=", 5, 0, 2},
    {res::kFftYFloor, Kind::Edit, "", 5, 2, 2, kReadOnly},
    {kNone, Kind::Static, "Even simmetry max. error (Re)=", 6, 0, 2},
    {res::kFftYEvenSymErr, Kind::Edit, "", 6, 2, 2, kReadOnly},
    {kNone, Kind::Static, "Odd simmetry max. error (Im)=", 7, 0, 2},
    {res::kFftYOddSymErr, Kind::Edit, "", 7, 2, 2, kReadOnly},
    {kNone, Kind::Rule, "", 8, 0, 4},
    {res::kFftYMarker1On, Kind::Check, "Y axis Marker 1 On/Off", 9, 0, 4},
    {kNone, Kind::Static, "Ampl.=", 10, 0},
    {res::kFftYM1Ampl, Kind::Edit, "", 10, 1, 1, kValue},
    {res::kFftYM1dB, Kind::Edit, "", 10, 2, 1, kValue},
    {kNone, Kind::Static, "dB", 10, 3},
    {res::kFftYMarker2On, Kind::Check, "Y axis Marker 2 On/Off", 11, 0, 4},
    {kNone, Kind::Static, "Ampl.=", 12, 0},
    {res::kFftYM2Ampl, Kind::Edit, "", 12, 1, 1, kValue},
    {res::kFftYM2dB, Kind::Edit, "", 12, 2, 1, kValue},
    {kNone, Kind::Static, "dB", 12, 3},
    {kNone, Kind::Rule, "", 13, 0, 4},
    {kNone, Kind::Static, "Ampl. var.=", 14, 0},
    {res::kFftYVarAmpl, Kind::Edit, "", 14, 1, 1, kValue},
    {res::kFftYVardB, Kind::Edit, "", 14, 2, 1, kValue},
    {kNone, Kind::Static, "dB", 14, 3},
};
constexpr GridShape kFftYShape{4, Bit(1) | Bit(2), Bit(1)};

// FFT X panel: the title, the sampling frequency and the number of samples,
// then the two markers and their difference in two columns, each marker's
// order under its frequency. Columns: left label, left field, right label,
// right field, unit.
constexpr ControlEntry kFftXControls[] = {
    {res::kFftXTitle, Kind::Static, "X axis", 0, 0, 5, kTitleFont},
    {kNone, Kind::Static, "Sampling frequency (Hz)= ", 1, 0, 2},
    {res::kFftXFc, Kind::Edit, "", 1, 2, 3, kReadOnly},
    {kNone, Kind::Static, "Number of samples= ", 2, 0, 2},
    {res::kFftXCount, Kind::Edit, "", 2, 2, 3, kReadOnly},
    {kNone, Kind::Rule, "", 3, 0, 5},
    {res::kFftXMarker1On, Kind::Check, "X axis Marker 1 On/Off", 4, 0, 5},
    {kNone, Kind::Static, "Line=", 5, 0},
    {res::kFftXM1Line, Kind::Edit, "", 5, 1, 1, kValue},
    {kNone, Kind::Static, "Freq.=", 5, 2},
    {res::kFftXM1Freq, Kind::Edit, "", 5, 3, 1, kValue},
    {kNone, Kind::Static, "Hz", 5, 4},
    {kNone, Kind::Static, "Order=", 6, 2},
    {res::kFftXM1Order, Kind::Edit, "", 6, 3, 1, kValue},
    {kNone, Kind::Static, "Ampl=", 7, 0},
    {res::kFftXM1Ampl, Kind::Edit, "", 7, 1, 1, kValue},
    {kNone, Kind::Static, "Ampl=", 7, 2},
    {res::kFftXM1dB, Kind::Edit, "", 7, 3, 1, kValue},
    {kNone, Kind::Static, "dB", 7, 4},
    {kNone, Kind::Rule, "", 8, 0, 5},
    {res::kFftXMarker2On, Kind::Check, "X axis Marker 2 On/Off", 9, 0, 5},
    {kNone, Kind::Static, "Line=", 10, 0},
    {res::kFftXM2Line, Kind::Edit, "", 10, 1, 1, kValue},
    {kNone, Kind::Static, "Freq.=", 10, 2},
    {res::kFftXM2Freq, Kind::Edit, "", 10, 3, 1, kValue},
    {kNone, Kind::Static, "Hz", 10, 4},
    {kNone, Kind::Static, "Order=", 11, 2},
    {res::kFftXM2Order, Kind::Edit, "", 11, 3, 1, kValue},
    {kNone, Kind::Static, "Ampl=", 12, 0},
    {res::kFftXM2Ampl, Kind::Edit, "", 12, 1, 1, kValue},
    {kNone, Kind::Static, "Ampl=", 12, 2},
    {res::kFftXM2dB, Kind::Edit, "", 12, 3, 1, kValue},
    {kNone, Kind::Static, "dB", 12, 4},
    {kNone, Kind::Rule, "", 13, 0, 5},
    {kNone, Kind::Static, "Lines=", 14, 0},
    {res::kFftXVarLines, Kind::Edit, "", 14, 1, 1, kValue},
    {kNone, Kind::Static, "Freq.var.=", 14, 2},
    {res::kFftXVarFreq, Kind::Edit, "", 14, 3, 1, kValue},
    {kNone, Kind::Static, "Hz", 14, 4},
    {kNone, Kind::Static, "Order var.=", 15, 2},
    {res::kFftXVarOrder, Kind::Edit, "", 15, 3, 1, kValue},
    {kNone, Kind::Static, "Ampl. var.=", 16, 0},
    {res::kFftXVarAmpl, Kind::Edit, "", 16, 1, 1, kValue},
    {res::kFftXVardB, Kind::Edit, "", 16, 3, 1, kValue},
    {kNone, Kind::Static, "dB", 16, 4},
};
constexpr GridShape kFftXShape{5, Bit(1) | Bit(3), 0};

struct PanelTemplate {
  int id;
  std::span<const ControlEntry> controls;
  GridShape shape;
};

PanelTemplate TemplateOf(PanelId p) {
  switch (p) {
    case PanelId::Y1: return {res::kDlgPanelY1, kY1Controls, kYShape};
    case PanelId::Y2: return {res::kDlgPanelY2, kY2Controls, kYShape};
    case PanelId::Y3: return {res::kDlgPanelY3, kY3Controls, kYShape};
    case PanelId::X: return {res::kDlgPanelX, kXControls, kXShape};
    case PanelId::FftY: return {res::kDlgPanelFftY, kFftYControls, kFftYShape};
    case PanelId::FftX: return {res::kDlgPanelFftX, kFftXControls, kFftXShape};
  }
  return {0, {}, {1, 0, 0}};
}

// ---- Fonts and colours ----

constexpr int kTextPixels = 11;       // the panels' own text
constexpr int kTitlePixels = 18;      // the bold title boxes
constexpr int kGroupTitlePixels = 14;  // the X marker panel's group box

// The bold sans-serif font of the title boxes (height 18), or the X marker
// panel's lighter one (height 14, weight 600).
QFont PanelFont(const QFont& base, int pixels, QFont::Weight weight) {
  QFont f = base;
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(pixels);
  f.setWeight(weight);
  return f;
}

// Disabled readings stay legible: a dark grey rather than the style's faint
// one. Fields the user cannot type into have the panel's face behind them.
QPalette PanelPalette(QPalette p) {
  const QColor greyText(105, 105, 105);
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, greyText);
  p.setColor(QPalette::Disabled, QPalette::Base, p.color(QPalette::Active, QPalette::Window));
  return p;
}

void MarkReadOnly(QLineEdit* e) {
  e->setReadOnly(true);
  QPalette p = e->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive})
    p.setColor(g, QPalette::Base, p.color(g, QPalette::Window));
  e->setPalette(p);
}

// A radio button only the rules clear: a click checks it (a second click
// leaves it checked), and it does not clear the others by itself, since the
// rules send Check and Uncheck for each.
class RuleRadioButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override { setChecked(true); }
};

// ---- Text of any kind of control ----

QString TextOf(const QWidget* w) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->text();
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
  return {};
}

void SetTextOf(QWidget* w, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
  else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
}

// A push button as narrow as its text allows: the style's least width of a
// dialog button would leave the zoom field no room in a narrow column.
void FitButton(QPushButton* b) {
  constexpr int kTextPadding = 8;  // on each side of the text
  b->setFixedWidth(b->fontMetrics().horizontalAdvance(b->text()) + 2 * kTextPadding);
}

// One control of a template, with its identifier; the panel's layout
// places it.
QWidget* MakeControl(const ControlEntry& c, QWidget* parent) {
  const QString text = QString::fromLatin1(c.text);
  QWidget* w = nullptr;
  switch (c.kind) {
    case Kind::Static: {
      auto* label = new QLabel(text, parent);
      label->setTextFormat(Qt::PlainText);
      w = label;
      break;
    }
    case Kind::Edit: {
      auto* e = new QLineEdit(text, parent);
      e->setAlignment(c.flags & kTitleFont ? Qt::AlignLeft : Qt::AlignRight);
      if (c.flags & kReadOnly) MarkReadOnly(e);
      if (c.flags & kTitleFont) e->setFocusPolicy(Qt::NoFocus);  // a caption, not a reading
      w = e;
      break;
    }
    case Kind::Button: {
      auto* b = new QPushButton(text, parent);
      b->setAutoDefault(false);
      w = b;
      break;
    }
    case Kind::Check: w = new QCheckBox(text, parent); break;
    case Kind::Radio: w = new RuleRadioButton(text, parent); break;
    case Kind::Group: w = new QGroupBox(text, parent); break;
    case Kind::Rule: {
      auto* line = new QFrame(parent);
      line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
      w = line;
      break;
    }
  }
  SetId(w, c.id);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setAutoExclusive(false);
  if (c.flags & kTitleFont) w->setFont(PanelFont(parent->font(), kTitlePixels, QFont::Bold));
  if (c.flags & kGroupFont)
    w->setFont(PanelFont(parent->font(), kGroupTitlePixels, QFont::DemiBold));
  if (auto* b = qobject_cast<QPushButton*>(w)) FitButton(b);
  if (c.flags & kDisabled) w->setEnabled(false);
  return w;
}

// Room round the controls and between them, in pixels.
constexpr int kSideMargin = 2;  // inside the panel's frame, or the group box's
constexpr int kTopMargin = 3;
constexpr int kColumnSpacing = 3;
constexpr int kRowSpacing = 3;

// The grid of a panel's controls, on home (the panel, or the group box round
// them): each control in its cell, a free row's controls side by side.
QGridLayout* MakeGrid(QWidget* home, const GridShape& shape) {
  auto* grid = new QGridLayout(home);
  grid->setContentsMargins(kSideMargin, kTopMargin, kSideMargin, kTopMargin);
  grid->setHorizontalSpacing(kColumnSpacing);
  grid->setVerticalSpacing(kRowSpacing);
  for (int c = 0; c < shape.columns; ++c)
    grid->setColumnStretch(c, (shape.stretchColumns & Bit(c)) ? 1 : 0);
  return grid;
}

void PlaceControl(QGridLayout* grid, const GridShape& shape, const ControlEntry& c, QWidget* w,
                  std::map<int, QHBoxLayout*>& freeRows) {
  if ((shape.freeRows & Bit(c.row)) == 0) {
    grid->addWidget(w, c.row, c.column, 1, c.span);
    return;
  }
  QHBoxLayout*& row = freeRows[c.row];
  if (row == nullptr) {
    row = new QHBoxLayout;
    row->setSpacing(kColumnSpacing);
    grid->addLayout(row, c.row, 0, 1, shape.columns);
  }
  row->addWidget(w, c.kind == Kind::Edit ? 1 : 0);  // a field takes the width left
}

}  // namespace

AxisPanel::AxisPanel(PanelId id, QWidget* parent) : QFrame(parent), panel_(id) {
  const PanelTemplate t = TemplateOf(id);
  SetId(this, t.id);
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAutoFillBackground(true);
  setFont(PanelFont(font(), kTextPixels, QFont::Normal));
  setPalette(PanelPalette(palette()));

  // The controls stand in the panel, or in the group box round them, which
  // is then the panel's frame: a narrow column leaves no room for two.
  std::span<const ControlEntry> controls = t.controls;
  QWidget* home = this;
  if (!controls.empty() && controls.front().kind == Kind::Group) {
    QWidget* box = MakeControl(controls.front(), this);
    controls_[controls.front().id] = box;
    setFrameStyle(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(box);
    home = box;
    group_ = box;
    controls = controls.subspan(1);
  }
  QGridLayout* grid = MakeGrid(home, t.shape);
  std::map<int, QHBoxLayout*> freeRows;
  int lastRow = 0;
  QLineEdit* zoom = nullptr;
  QPushButton* set = nullptr;
  for (const ControlEntry& c : controls) {
    QWidget* w = MakeControl(c, home);
    PlaceControl(grid, t.shape, c, w, freeRows);
    lastRow = std::max(lastRow, c.row);
    if (c.id != res::kIdStatic) controls_[c.id] = w;
    if (c.kind == Kind::Check || c.kind == Kind::Radio)
      connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this,
              [this, cid = c.id](bool on) { emit SwitchToggled(panel_, cid, on); });
    if (c.flags & kZoomField) zoom = static_cast<QLineEdit*>(w);
    if (c.flags & kSetButton) set = static_cast<QPushButton*>(w);
  }
  for (auto& [row, box] : freeRows) box->addStretch();
  grid->setRowStretch(lastRow + 1, 1);  // room beyond the controls stays below them
  FontToGroup();
  if (zoom && set) {
    connect(set, &QPushButton::clicked, this,
            [this, zoom] { emit SetPressed(panel_, zoom->text()); });
    connect(zoom, &QLineEdit::returnPressed, set, &QPushButton::click);
  }
}

void AxisPanel::FontToGroup() {
  if (group_ == nullptr) return;
  for (QWidget* c : group_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) c->setFont(font());
}

void AxisPanel::changeEvent(QEvent* event) {
  QFrame::changeEvent(event);
  if (event->type() == QEvent::FontChange) FontToGroup();
}

QWidget* AxisPanel::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void AxisPanel::Apply(const ControlOp& op) {
  if (op.panel != panel_) return;
  QWidget* w = Control(op.id);
  if (!w) return;
  auto* b = qobject_cast<QAbstractButton*>(w);
  switch (op.kind) {
    case ControlOp::SetText: SetTextOf(w, FromEightBit(op.text)); break;
    case ControlOp::Enable: w->setEnabled(true); break;
    case ControlOp::Disable: w->setEnabled(false); break;
    case ControlOp::Check:
      if (b) b->setChecked(true);
      break;
    case ControlOp::Uncheck:
      if (b) b->setChecked(false);
      break;
  }
}

QString AxisPanel::Text(int id) const {
  const QWidget* w = Control(id);
  return w ? TextOf(w) : QString();
}

bool AxisPanel::IsChecked(int id) const {
  const auto* b = qobject_cast<const QAbstractButton*>(Control(id));
  return b && b->isChecked();
}

bool AxisPanel::IsEnabled(int id) const {
  const QWidget* w = Control(id);
  return w && w->isEnabled();
}

void ApplyOps(const ControlOps& ops, const std::array<AxisPanel*, kPanelCount>& panels) {
  for (const ControlOp& op : ops) {
    const int i = static_cast<int>(op.panel);
    if (i >= 0 && i < kPanelCount && panels[static_cast<size_t>(i)])
      panels[static_cast<size_t>(i)]->Apply(op);
  }
}

}  // namespace tz
