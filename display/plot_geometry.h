// Where and how big the graphs are drawn: the drawing area, the visible
// ranges and steps, and the vertical scale of each graph shown. Computed from
// the display state, the record and the layout whenever one of them changes
// (rebuild, resize, scroll, zoom, the end of a run); painting and clicks only
// read it, so a click before a paint reads what that paint draws.
#pragma once

#include <array>
#include <cstdint>

#include "display/display_state.h"
#include "display/layout.h"
#include "display/plot_math.h"

namespace tz {

struct AnalysisRecord;

struct PlotGeometry {
  bool HasSamples = false;  // the record holds samples: the graphs are drawn

  // The drawing area, from the layout record.
  int PlotTop = 0;
  int PlotWidth = 0;
  int PlotHeight = 0;    // H of the scales
  int ClientHeight = 0;  // vertical marker lines reach down to it

  // The visible ranges and steps (the state's, once brought to the data).
  int32_t FirstProgr = 0;  // first drawn sample: TimeStart + MovAvgLen
  int32_t TimeStart = 0, TimeEnd = 0, TimeStep = 1, TimePixStep = 1;
  int32_t FftStart = 0, FftEnd = 0, FftStep = 1, FftPixStep = 1;

  // Scales of the graphs shown (all 0 without samples).
  VerticalScale Graph;                 // the single time graph or the FFT graph
  std::array<VerticalScale, 3> Bands;  // RPM, torque and power bands of the three graphs

  // With the state's FitToData: the visible samples' least and greatest
  // value each scale was fitted to (the single graph's in the first).
  struct Range {
    double min = 0, max = 0;
    bool operator==(const Range&) const = default;
  };
  bool Fitted = false;
  std::array<Range, 3> FittedRanges;
  std::array<bool, 3> FittedBand{};  // each scale fitted: not a curve without a finite sample

  bool operator==(const PlotGeometry&) const = default;
};

// The geometry of the state as it stands (its ranges already brought to the
// record and layout by ComputeRanges).
PlotGeometry GeometryOf(const DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l);

// Brings the state's ranges to the record and layout (ComputeRanges), then
// its geometry.
PlotGeometry UpdateGeometry(DisplayState& s, const AnalysisRecord& r, const LayoutRecord& l);

// Index of the data under a column, held to the data: a sample 0..ProgrCount
// (never beyond the arrays), a line 0..FFT_N / 2 - 1.
int32_t SampleAtColumn(const PlotGeometry& g, const AnalysisRecord& r, int x);
int32_t LineAtColumn(const PlotGeometry& g, const AnalysisRecord& r, int x);

// The end (exclusive) of the samples or lines the plot's columns show: a
// zoom's step may leave more of the range than the plot has columns, and
// the curve stops at its right edge.
int32_t VisibleTimeEnd(const PlotGeometry& g);
int32_t VisibleFftEnd(const PlotGeometry& g);

}  // namespace tz
