// The marker switches of the panels: which marker a click in the plot window
// sets. Switching one marker on switches the competing ones off, enables its
// fields and disables theirs; each rule changes the display state and returns
// the changes of the panels' controls.
#pragma once

#include "display/control_ops.h"
#include "display/display_state.h"

namespace tz {

// X marker panel radio buttons 1428, 1429, 1430 and its Enable box 1435.
ControlOps SelectXMarker(DisplayState& s, int buttonId);
ControlOps SwitchTimeXMarkers(DisplayState& s, bool on);
// Y panel marker switch of panel Y1, Y2 or Y3.
ControlOps SwitchYMarker(DisplayState& s, PanelId p, bool on);
// FFT X marker 1 or 2 (1454, 1459) and FFT Y marker 1 or 2 (1470, 1474).
ControlOps SwitchFftXMarker(DisplayState& s, int marker, bool on);
ControlOps SwitchFftYMarker(DisplayState& s, int marker, bool on);
// The display settings' OK: every switch off, every box cleared, every
// marker value field disabled and blank; positions and readings kept.
ControlOps ClearMarkerSwitches(DisplayState& s);

}  // namespace tz
