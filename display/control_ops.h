// How the display's rules talk to the panels: each rule changes the display
// state and returns the changes of panel controls it implies, as plain
// values; the panels apply them (AxisPanel::Apply) and tests read them.
#pragma once

#include <string>
#include <vector>

namespace tz {

// The six panels.
enum class PanelId { Y1, Y2, Y3, X, FftY, FftX };
constexpr int kPanelCount = 6;

// One change of a panel control, found by its identifier within the panel.
struct ControlOp {
  enum Kind { SetText, Enable, Disable, Check, Uncheck };
  PanelId panel;
  int id;
  Kind kind;
  std::string text;  // for SetText
};
using ControlOps = std::vector<ControlOp>;

}  // namespace tz
