// Rulers of the graphs: labelled ticks at round values (steps of 1, 2 or 5
// times a power of ten) along the time axis in seconds, along the FFT axis
// in Hz and in orders, and up each band's (or the single graph's) left edge
// in its unit. Ticks and labels keep off the curves' first and last columns.
#pragma once

#include <string>
#include <vector>

#include "display/display_state.h"
#include "display/plot_geometry.h"

namespace tz {

struct AnalysisRecord;

// One tick: its pixel (a column along an X ruler, a row up a Y ruler), its
// value and the label that goes with it.
struct Tick {
  int pos;
  double value;
  std::string label;
  bool operator==(const Tick&) const = default;
};

// The least step of 1, 2 or 5 times a power of ten that is at least span
// (a positive width in units); 0 for a span that is not a positive number.
double RoundStep(double span);

// Ticks of a linear axis where the value at pixel pos is a + b x pos: every
// multiple of the round step that keeps ticks minSpacing pixels apart,
// standing on pixels first..last.
std::vector<Tick> LinearTicks(double a, double b, int first, int last, int minSpacing);

// The columns a time curve or the FFT curve occupies: 0 to the last drawn.
int LastTimeColumn(const PlotGeometry& g);
int LastFftColumn(const PlotGeometry& g);

// Ticks in seconds along the time graphs: each at the first column whose
// sample's time (Tprogr) reaches the round value, at least minSpacing apart.
std::vector<Tick> TimeTicks(const PlotGeometry& g, const AnalysisRecord& r, int minSpacing);
// Ticks in Hz, and in orders of the shaft's rotation, along the FFT graph.
std::vector<Tick> FrequencyTicks(const PlotGeometry& g, const AnalysisRecord& r, int minSpacing);
std::vector<Tick> OrderTicks(const PlotGeometry& g, const AnalysisRecord& r, int minSpacing);

// Rows a ruler of the values covers: the single graph's whole height, or a
// band's share of it (from its base up to the next band's), and its unit.
struct ValueRuler {
  int top, bottom;  // rows, top < bottom
  VerticalScale scale;
  const char* unit;
};
std::vector<ValueRuler> ValueRulers(const DisplayState& s, const PlotGeometry& g);
// Ticks up one of them, rows top + margin .. bottom - margin.
std::vector<Tick> ValueTicks(const PlotGeometry& g, const ValueRuler& ruler, int minSpacing,
                             int margin);

}  // namespace tz
