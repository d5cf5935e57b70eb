// The axis panels beside the plot window: one small panel of controls per
// graph axis (the three Y panels, the X marker panel of the time graphs, the
// FFT Y and FFT X panels). A panel holds no state of its own: the rules
// (panel_contents.h, marker_switches.h, marker_placement.h) decide what its
// controls show, and the panel applies their control changes and forwards
// what the user does.
#pragma once

#include <QFrame>
#include <QString>
#include <array>
#include <map>

#include "display/control_ops.h"

namespace tz {

class AxisPanel : public QFrame {
  Q_OBJECT

 public:
  // A child of the client area, placed and sized by its owner. Carries the
  // panel's template identifier; each control carries its own identifier as
  // object name (for tests) and is kept by it.
  AxisPanel(PanelId id, QWidget* parent);

  PanelId Panel() const { return panel_; }

  // Applies one control change. Changes addressed to another panel, and
  // identifiers this panel does not have, are ignored. Never emits the
  // signals below.
  void Apply(const ControlOp& op);

  // The text, check state and enabled state of a control ("" and false for
  // an identifier the panel does not have). Text is a field's contents, a
  // static's or button's text, or a group box's title.
  QString Text(int id) const;
  bool IsChecked(int id) const;
  bool IsEnabled(int id) const;

 signals:
  // Set of a Y panel or the FFT Y panel (the button, or Enter in the zoom
  // field), with the zoom field's text as it stands.
  void SetPressed(tz::PanelId panel, const QString& zoomText);
  // The user clicked a marker check box or radio button; on is its new state.
  void SwitchToggled(tz::PanelId panel, int id, bool on);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QWidget* Control(int id) const;
  // The controls in the X marker panel's group box take the panel's text
  // font, not the box's title font.
  void FontToGroup();

  PanelId panel_;
  QWidget* group_ = nullptr;  // the group box round the controls, if any
  std::map<int, QWidget*> controls_;  // by identifier; the panel's children
};

// Applies each change to the panel of its PanelId (panels indexed by
// static_cast<int>(PanelId)); changes for a panel that does not exist
// (nullptr) are dropped.
void ApplyOps(const ControlOps& ops, const std::array<AxisPanel*, kPanelCount>& panels);

}  // namespace tz
