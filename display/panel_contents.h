// What each axis panel shows: which panels a display has, the fields a panel
// fills when it is made, and the Set of a zoom field.
#pragma once

#include <string>

#include "display/control_ops.h"
#include "display/display_state.h"

namespace tz {

struct AnalysisRecord;

// Whether the display state shows a panel.
bool PanelShown(const DisplayState& s, PanelId p);

// The fields a panel fills from the display state and the record when it
// is created (the X marker panel's radio button and unit fields included).
ControlOps FillPanel(PanelId p, const DisplayState& s, const AnalysisRecord& r);

// The title of the FFT Y panel: source then window, "Y axis: TRQ RAW (Blackman)".
std::string FftPanelTitle(const AnalysisRecord& r);

// Characters of a zoom field that Set reads.
constexpr size_t kZoomTextChars = 9;

// Set of a Y panel or the FFT Y panel: the zoom field's text (its first
// kZoomTextChars characters) as a number. Returns true when it differs from
// the zoom the panel shows, which it then replaces: the display must be
// rebuilt.
bool ApplyZoomText(DisplayState& s, PanelId p, const std::string& text);

}  // namespace tz
