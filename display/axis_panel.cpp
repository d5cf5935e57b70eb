#include "display/axis_panel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
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
  int x, y, w, h;  // pixels within the panel
  unsigned flags = 0;
};

constexpr int kNone = res::kIdStatic;
constexpr unsigned kValue = kReadOnly | kDisabled;  // a marker reading

// Y panels, 162 pixels wide and at least 155 high; the three differ only in
// their identifiers.
struct YIds {
  int title, zoom, set, markerOn, markerVal, max, min;
};

constexpr std::array<ControlEntry, 12> YPanelControls(YIds i) {
  return {{
      {kNone, Kind::Static, "Y axis", 8, 6, 38, 24},
      {i.title, Kind::Edit, "", 48, 5, 108, 26, kReadOnly | kTitleFont},
      {kNone, Kind::Static, "Zoom=", 8, 36, 42, 20},
      {i.zoom, Kind::Edit, "", 52, 36, 64, 20, kZoomField},
      {i.set, Kind::Button, "Set", 120, 35, 36, 22, kSetButton},
      {i.markerOn, Kind::Check, "Y axis Marker On/Off", 8, 59, 148, 20},
      {kNone, Kind::Static, "Marker val.=", 8, 81, 72, 20},
      {i.markerVal, Kind::Edit, "", 80, 81, 76, 20, kValue},
      {kNone, Kind::Static, "Maximum=", 8, 105, 72, 20},
      {i.max, Kind::Edit, "", 80, 105, 76, 20, kReadOnly},
      {kNone, Kind::Static, "Minimum=", 8, 129, 72, 20},
      {i.min, Kind::Edit, "", 80, 129, 76, 20, kReadOnly},
  }};
}

constexpr auto kY1Controls = YPanelControls({res::kY1Title, res::kY1Zoom, res::kY1Set,
                                             res::kY1MarkerOn, res::kY1MarkerVal, res::kY1Max,
                                             res::kY1Min});
constexpr auto kY2Controls = YPanelControls({res::kY2Title, res::kY2Zoom, res::kY2Set,
                                             res::kY2MarkerOn, res::kY2MarkerVal, res::kY2Max,
                                             res::kY2Min});
constexpr auto kY3Controls = YPanelControls({res::kY3Title, res::kY3Zoom, res::kY3Set,
                                             res::kY3MarkerOn, res::kY3MarkerVal, res::kY3Max,
                                             res::kY3Min});

// X marker panel of the time graphs, 162 x 185: a group box round the lot.
// Label, field and unit columns of its four readings.
constexpr int kXLabel = 8, kXField = 54, kXUnit = 129;
constexpr ControlEntry kXControls[] = {
    {res::kXTitle, Kind::Group, "X axis Markers", 3, 2, 156, 180, kGroupFont},
    {res::kXEnable, Kind::Check, "Enable", kXLabel, 22, 70, 20},
    {res::kXMarker1, Kind::Radio, "Marker1", kXLabel, 42, 70, 20, kDisabled},
    {res::kXMarker2, Kind::Radio, "Marker2", 84, 42, 70, 20, kDisabled},
    {res::kXDelta, Kind::Radio, "dM1-2", kXLabel, 62, 70, 20, kDisabled},
    {kNone, Kind::Static, "Time=", kXLabel, 84, 44, 20},
    {res::kXTime, Kind::Edit, "", kXField, 84, 73, 20, kValue},
    {res::kXTimeUnit, Kind::Static, "Sec.", kXUnit, 84, 27, 20, kDisabled},
    {kNone, Kind::Static, "Speed=", kXLabel, 108, 44, 20},
    {res::kXSpeed, Kind::Edit, "", kXField, 108, 73, 20, kValue},
    {res::kXSpeedUnit, Kind::Static, "RPM", kXUnit, 108, 27, 20, kDisabled},
    {kNone, Kind::Static, "Trq=", kXLabel, 132, 44, 20},
    {res::kXTorque, Kind::Edit, "", kXField, 132, 73, 20, kValue},
    {res::kXTorqueUnit, Kind::Static, "", kXUnit, 132, 27, 20, kDisabled},
    {kNone, Kind::Static, "Pow=", kXLabel, 156, 44, 20},
    {res::kXPower, Kind::Edit, "", kXField, 156, 73, 20, kValue},
    {res::kXPowerUnit, Kind::Static, "", kXUnit, 156, 27, 20, kDisabled},
};

// FFT Y panel, 320 wide and as high as the column leaves it (about 600 at a
// client height of 1000; its controls take the top 330 pixels).
// Columns of the figures and of the marker rows.
constexpr int kFigureField = 190, kFigureWidth = 122;
constexpr int kAmplLabel = 8, kAmplField = 80, kdBField = 184, kdBUnit = 288;
constexpr ControlEntry kFftYControls[] = {
    {res::kFftYTitle, Kind::Edit, "", 6, 5, 308, 28, kReadOnly | kTitleFont},
    {kNone, Kind::Static, "Zoom=", 8, 40, 42, 20},
    {res::kFftYZoom, Kind::Edit, "", 52, 40, 88, 20, kZoomField},
    {res::kFftYSet, Kind::Button, "Set", 146, 39, 40, 22, kSetButton},
    {kNone, Kind::Rule, "", 6, 68, 308, 2},
    {kNone, Kind::Static, "Total energy=", 8, 76, 180, 20},
    {res::kFftYTotalEnergy, Kind::Edit, "", kFigureField, 76, kFigureWidth, 20, kReadOnly},
    {kNone, Kind::Static, "DC value=", 8, 100, 180, 20},
    {res::kFftYDcValue, Kind::Edit, "", kFigureField, 100, kFigureWidth, 20, kReadOnly},
    {kNone, Kind::Static, "Floor level=", 8, 124, 180, 20},
    {res::kFftYFloor, Kind::Edit, "", kFigureField, 124, kFigureWidth, 20, kReadOnly},
    {kNone, Kind::Static, "Even simmetry max. error (Re)=", 8, 148, 180, 20},
    {res::kFftYEvenSymErr, Kind::Edit, "", kFigureField, 148, kFigureWidth, 20, kReadOnly},
    {kNone, Kind::Static, "Odd simmetry max. error (Im)=", 8, 172, 180, 20},
    {res::kFftYOddSymErr, Kind::Edit, "", kFigureField, 172, kFigureWidth, 20, kReadOnly},
    {kNone, Kind::Rule, "", 6, 200, 308, 2},
    {res::kFftYMarker1On, Kind::Check, "Y axis Marker 1 On/Off", 8, 207, 200, 20},
    {kNone, Kind::Static, "Ampl.=", kAmplLabel, 230, 70, 20},
    {res::kFftYM1Ampl, Kind::Edit, "", kAmplField, 230, 100, 20, kValue},
    {res::kFftYM1dB, Kind::Edit, "", kdBField, 230, 100, 20, kValue},
    {kNone, Kind::Static, "dB", kdBUnit, 230, 24, 20},
    {res::kFftYMarker2On, Kind::Check, "Y axis Marker 2 On/Off", 8, 257, 200, 20},
    {kNone, Kind::Static, "Ampl.=", kAmplLabel, 280, 70, 20},
    {res::kFftYM2Ampl, Kind::Edit, "", kAmplField, 280, 100, 20, kValue},
    {res::kFftYM2dB, Kind::Edit, "", kdBField, 280, 100, 20, kValue},
    {kNone, Kind::Static, "dB", kdBUnit, 280, 24, 20},
    {kNone, Kind::Rule, "", 6, 308, 308, 2},
    {kNone, Kind::Static, "Ampl. var.=", kAmplLabel, 316, 70, 20},
    {res::kFftYVarAmpl, Kind::Edit, "", kAmplField, 316, 100, 20, kValue},
    {res::kFftYVardB, Kind::Edit, "", kdBField, 316, 100, 20, kValue},
    {kNone, Kind::Static, "dB", kdBUnit, 316, 24, 20},
};

// FFT X panel, 320 x 330: the figures, then the two markers and their
// difference in two columns (label, field, unit).
constexpr int kL = 8, kLW = 66, kLF = 75, kLFW = 78;               // left column
constexpr int kR = 160, kRW = 60, kRF = 221, kRFW = 74, kRU = 297;  // right column
constexpr ControlEntry kFftXControls[] = {
    {res::kFftXTitle, Kind::Static, "X axis", 8, 5, 304, 28, kTitleFont},
    {kNone, Kind::Static, "Sampling frequency (Hz)= ", 8, 40, 160, 20},
    {res::kFftXFc, Kind::Edit, "", 170, 40, 142, 20, kReadOnly},
    {kNone, Kind::Static, "Number of samples= ", 8, 64, 160, 20},
    {res::kFftXCount, Kind::Edit, "", 170, 64, 142, 20, kReadOnly},
    {kNone, Kind::Rule, "", 6, 94, 308, 2},
    {res::kFftXMarker1On, Kind::Check, "X axis Marker 1 On/Off", kL, 101, 200, 20},
    {kNone, Kind::Static, "Line=", kL, 124, kLW, 20},
    {res::kFftXM1Line, Kind::Edit, "", kLF, 124, kLFW, 20, kValue},
    {kNone, Kind::Static, "Freq.=", kR, 124, kRW, 20},
    {res::kFftXM1Freq, Kind::Edit, "", kRF, 124, kRFW, 20, kValue},
    {kNone, Kind::Static, "Hz", kRU, 124, 18, 20},
    {kNone, Kind::Static, "Ampl=", kL, 148, kLW, 20},
    {res::kFftXM1Ampl, Kind::Edit, "", kLF, 148, kLFW, 20, kValue},
    {kNone, Kind::Static, "Ampl=", kR, 148, kRW, 20},
    {res::kFftXM1dB, Kind::Edit, "", kRF, 148, kRFW, 20, kValue},
    {kNone, Kind::Static, "dB", kRU, 148, 18, 20},
    {kNone, Kind::Rule, "", 6, 178, 308, 2},
    {res::kFftXMarker2On, Kind::Check, "X axis Marker 2 On/Off", kL, 185, 200, 20},
    {kNone, Kind::Static, "Line=", kL, 208, kLW, 20},
    {res::kFftXM2Line, Kind::Edit, "", kLF, 208, kLFW, 20, kValue},
    {kNone, Kind::Static, "Freq.=", kR, 208, kRW, 20},
    {res::kFftXM2Freq, Kind::Edit, "", kRF, 208, kRFW, 20, kValue},
    {kNone, Kind::Static, "Hz", kRU, 208, 18, 20},
    {kNone, Kind::Static, "Ampl=", kL, 232, kLW, 20},
    {res::kFftXM2Ampl, Kind::Edit, "", kLF, 232, kLFW, 20, kValue},
    {kNone, Kind::Static, "Ampl=", kR, 232, kRW, 20},
    {res::kFftXM2dB, Kind::Edit, "", kRF, 232, kRFW, 20, kValue},
    {kNone, Kind::Static, "dB", kRU, 232, 18, 20},
    {kNone, Kind::Rule, "", 6, 262, 308, 2},
    {kNone, Kind::Static, "Lines=", kL, 272, kLW, 20},
    {res::kFftXVarLines, Kind::Edit, "", kLF, 272, kLFW, 20, kValue},
    {kNone, Kind::Static, "Freq.var.=", kR, 272, kRW, 20},
    {res::kFftXVarFreq, Kind::Edit, "", kRF, 272, kRFW, 20, kValue},
    {kNone, Kind::Static, "Hz", kRU, 272, 18, 20},
    {kNone, Kind::Static, "Ampl. var.=", kL, 296, kLW, 20},
    {res::kFftXVarAmpl, Kind::Edit, "", kLF, 296, kLFW, 20, kValue},
    {res::kFftXVardB, Kind::Edit, "", kRF, 296, kRFW, 20, kValue},
    {kNone, Kind::Static, "dB", kRU, 296, 18, 20},
};

struct PanelTemplate {
  int id;
  std::span<const ControlEntry> controls;
};

PanelTemplate TemplateOf(PanelId p) {
  switch (p) {
    case PanelId::Y1: return {res::kDlgPanelY1, kY1Controls};
    case PanelId::Y2: return {res::kDlgPanelY2, kY2Controls};
    case PanelId::Y3: return {res::kDlgPanelY3, kY3Controls};
    case PanelId::X: return {res::kDlgPanelX, kXControls};
    case PanelId::FftY: return {res::kDlgPanelFftY, kFftYControls};
    case PanelId::FftX: return {res::kDlgPanelFftX, kFftXControls};
  }
  return {0, {}};
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

// One control of a template, in its place, with its identifier.
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
  w->setGeometry(c.x, c.y, c.w, c.h);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setAutoExclusive(false);
  if (c.flags & kTitleFont) w->setFont(PanelFont(parent->font(), kTitlePixels, QFont::Bold));
  if (c.flags & kGroupFont)
    w->setFont(PanelFont(parent->font(), kGroupTitlePixels, QFont::DemiBold));
  if (c.flags & kDisabled) w->setEnabled(false);
  return w;
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

  QLineEdit* zoom = nullptr;
  QPushButton* set = nullptr;
  for (const ControlEntry& c : t.controls) {
    QWidget* w = MakeControl(c, this);
    if (c.id != res::kIdStatic) controls_[c.id] = w;
    if (c.kind == Kind::Check || c.kind == Kind::Radio)
      connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked, this,
              [this, cid = c.id](bool on) { emit SwitchToggled(panel_, cid, on); });
    if (c.flags & kZoomField) zoom = static_cast<QLineEdit*>(w);
    if (c.flags & kSetButton) set = static_cast<QPushButton*>(w);
  }
  if (zoom && set) {
    connect(set, &QPushButton::clicked, this,
            [this, zoom] { emit SetPressed(panel_, zoom->text()); });
    connect(zoom, &QLineEdit::returnPressed, set, &QPushButton::click);
  }
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
