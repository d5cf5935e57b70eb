// The rules of the axis panels and the plot window's markers, as plain code:
// what each panel shows, what each marker switch turns off, enables,
// disables and clears, where a click puts a marker and what it reads, the X
// zoom, restore and scroll. Each rule changes the display state and returns
// the changes of panel controls it implies; the widgets only apply them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "display/display_state.h"
#include "display/layout.h"

namespace tz {

struct AnalysisRecord;
struct PlotGeometry;

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

// ---- Panel contents ----

// Whether the display state shows a panel.
bool PanelShown(const DisplayState& s, PanelId p);

// The fields a panel fills from the display state and the record when it
// is created (the X marker panel's radio button and unit fields included).
ControlOps FillPanel(PanelId p, const DisplayState& s, const AnalysisRecord& r);

// The title of the FFT Y panel: source then window, "Y axis: TRQ RAW (Blackman)".
std::string FftPanelTitle(const AnalysisRecord& r);

// Set of a Y panel or the FFT Y panel: the zoom field's text (its first 9
// characters) as a number. Returns true when it differs from the zoom the
// panel shows, which it then replaces: the display must be rebuilt.
bool ApplyZoomText(DisplayState& s, PanelId p, const std::string& text);

// ---- Marker switches ----

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

// ---- Marker lines ----

// The dotted lines a plot window holds: where each marker was last drawn.
enum class MarkerLine { TimeX1, TimeX2, FftX1, FftX2, FftY1, FftY2, TimeY };
constexpr int kMarkerLineCount = 7;
struct MarkerLines {
  std::array<std::optional<int>, kMarkerLineCount> at{};
  void Set(MarkerLine m, int pos) { at[static_cast<int>(m)] = pos; }
  std::optional<int> Get(MarkerLine m) const { return at[static_cast<int>(m)]; }
  void Clear() { at = {}; }
};
bool IsVertical(MarkerLine m);
enum class MarkerColour { Magenta, Cyan, Black };
MarkerColour ColourOf(MarkerLine m);

// ---- Plot window actions ----

// Left button released at (x, y) of the drawing area: every switch that is
// on acts, in order, reading columns and rows by the geometry. Indices under
// a column are held to the data.
ControlOps PlaceMarkers(DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r, int x,
                        int y, MarkerLines& lines);

// X zoom between the two markers. Returns the message to show (caption
// "Error") when the markers do not allow it; zoomed tells whether the ranges
// changed (the display is then repainted and rebuilt, and the zoom bases
// follow with ZoomBasesFromRanges).
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
