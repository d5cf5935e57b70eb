// A click in the plot window: every marker switch that is on places its
// marker at the click and reads the data under it into its panel.
#pragma once

#include "display/control_ops.h"
#include "display/display_state.h"
#include "display/marker_lines.h"

namespace tz {

struct AnalysisRecord;
struct PlotGeometry;

// Left button released at (x, y) of the drawing area: every switch that is
// on acts, in order (FFT X, FFT Y, time X, Y markers), reading columns and
// rows by the geometry. Indices under a column are held to the data. The
// marker lines drawn are kept in lines.
ControlOps PlaceMarkers(DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r, int x,
                        int y, MarkerLines& lines);

}  // namespace tz
