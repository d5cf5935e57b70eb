// The panels' readouts as text: every field a panel shows, with a label
// that names it outside its panel and its unit, one
// "label<TAB>value<TAB>unit" line each, in the column's order (the
// clipboard's text of Ctrl+C).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "display/control_ops.h"
#include "display/display_state.h"

namespace tz {

struct Readout {
  PanelId panel;
  int id;
  std::string label;
  std::string unit;
};

// The readouts of the panels the display state shows, top to bottom.
std::vector<Readout> ReadoutsOf(const DisplayState& s);

// Their lines, each field's text as textOf gives it; fields without text
// are left out.
std::string ReadoutText(const std::vector<Readout>& readouts,
                        const std::function<std::string(PanelId, int)>& textOf);

}  // namespace tz
