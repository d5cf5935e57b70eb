// The X zoom between the two markers and its undo, horizontal scrolling of
// the visible range, and the vertical scroll bar's set-up: rules on the
// display state, with no window.
#pragma once

#include <optional>
#include <string>

#include "display/display_state.h"
#include "display/layout.h"

namespace tz {

struct AnalysisRecord;

// The horizontal scroll bar's positions: 0..this.
constexpr int kHorizontalBarRange = 100;
// The vertical scroll bar's range, in lines of the fixed-pitch font, and
// the line it starts at.
constexpr int kVerticalScrollLines = 250;
constexpr int kVerticalScrollStartLine = 249;

// X zoom between the two markers. Returns the message to show (caption
// "Error") when the markers do not allow it; zoomed tells whether the ranges
// changed (the display is then rebuilt, and the zoom bases follow with
// ZoomBasesFromRanges). A refused zoom is still in force for the next run.
struct XZoomResult {
  std::optional<std::string> message;
  bool zoomed = false;
};
XZoomResult XZoom(DisplayState& s, const LayoutRecord& l);
void ZoomBasesFromRanges(DisplayState& s);
// Back to the full range; markers 1 and 2 unset.
void XRestore(DisplayState& s, const AnalysisRecord& r);

// A line or page left or right: moves the time and FFT ranges; returns the
// scroll bar position (0..100) to show, or nothing for a code that is none
// of the four.
std::optional<int> ScrollHorizontally(DisplayState& s, const AnalysisRecord& r, ScrollCode code);

// Vertical scroll bar set-up for a window height h and the fixed-pitch
// font's line height: VScrollMax, and VScrollPos held to it. Returns how far
// the contents move down (the excess of the old position).
int SetUpVerticalScroll(DisplayState& s, int h, int lineHeight);

}  // namespace tz
