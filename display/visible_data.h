// The data the graphs show, as CSV text: for the time graphs one row per
// sample of the visible range (its time and the quantities drawn), for the
// FFT graph one row per visible line (frequency, order, magnitude as drawn
// and its level against the DC line). A header row names the columns; numbers are
// written as the analysis files write them (FormatSig10, '.' as decimal
// point), every line ends with LF.
#pragma once

#include <string>

#include "display/display_state.h"
#include "display/plot_geometry.h"

namespace tz {

struct AnalysisRecord;

// The CSV text of what the display state shows, over the geometry's visible
// range; the header row alone while the record holds no samples.
std::string VisibleDataCsv(const DisplayState& s, const PlotGeometry& g, const AnalysisRecord& r);

// 10 x log10 of a magnitude against the DC line's; 0 without a DC line to
// compare with.
double DecibelsToDc(double magnitude, const AnalysisRecord& r);

}  // namespace tz
