// Draws the graphs of the display state onto any painter: the plot window's
// paint, an image in the tests, an export. The ranges and scales come from
// the plot geometry (plot_geometry.h); the curves are drawn as one polyline
// or one set of lines per pen, about one segment per pixel column (a time
// curve strokes the range of the samples each column stands for).
#pragma once

#include <QColor>

#include "display/display_state.h"
#include "display/marker_lines.h"
#include "display/plot_geometry.h"

class QPainter;

namespace tz {

struct AnalysisRecord;

// The pens of the graphs.
namespace plot_colour {
inline const QColor kFft{0, 0, 255};
inline const QColor kHarmonic{255, 0, 255};
inline const QColor kRpmFilt{0, 0, 255};
inline const QColor kRpmInst{255, 0, 255};
inline const QColor kTorque{0, 255, 0};
inline const QColor kPower{255, 0, 0};
inline const QColor kZeroLine{0, 0, 0};
inline const QColor kMarker1{255, 0, 255};
inline const QColor kMarker2{0, 255, 255};
inline const QColor kMarkerY{0, 0, 0};
}  // namespace plot_colour

// One paint of the plot window: the whole surface in the window colour, the
// dotted marker lines, then (when the record holds samples) the graph or
// graphs of the display choice, each with its zero line or baseline, by the
// geometry. Changes nothing.
void PaintPlot(QPainter& painter, const DisplayState& s, const PlotGeometry& g,
               const AnalysisRecord& r, const MarkerLines& lines, const QColor& background);

}  // namespace tz
