// Time graphs scaled to the data they show: each band (or the single graph)
// spans the visible samples' minimum to maximum with a small margin, so that
// a speed of 3000 +/- 25 RPM fills its band instead of lying flat on the
// scale of its whole range. The panels' Maximum and Minimum show that range,
// and the Y markers read by the same scales.
#pragma once

#include <cstdint>

#include "display/control_ops.h"
#include "display/plot_geometry.h"

namespace tz {

struct AnalysisRecord;

// The least and greatest finite value of values[first..end); false when
// there is none.
bool VisibleRange(const double* values, int32_t first, int32_t end, PlotGeometry::Range* range);

// The range with its margin: 5 % of the span above and below; a flat range
// gets 1 % of its value (1 for 0) on each side.
PlotGeometry::Range WithMargin(PlotGeometry::Range range);

// The scale that lays range (margin included) over a band's height at zoom
// 100 % (a quarter of H above base), or over the single graph's (0.1 H to
// 0.9 H); other zooms stretch it about its middle. A zoom of 0 lays every
// value on the middle row.
VerticalScale FittedBandScale(double H, PlotGeometry::Range range, double zoom, double base);
VerticalScale FittedSingleScale(double H, PlotGeometry::Range range, double zoom);

// Replaces the time graphs' scales of a geometry by the fitted ones over its
// visible samples, and records their ranges. A graph without a finite value
// keeps its scale.
void FitToVisibleData(PlotGeometry& g, const DisplayState& s, const AnalysisRecord& r);

// The Y panels' Maximum and Minimum for a fitted geometry (none otherwise).
ControlOps FittedReadouts(const DisplayState& s, const PlotGeometry& g);

}  // namespace tz
