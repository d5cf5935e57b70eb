// The dotted marker lines a plot window holds: where each marker was last
// drawn, which way it runs and its colour.
#pragma once

#include <array>
#include <optional>

namespace tz {

enum class MarkerLine { TimeX1, TimeX2, FftX1, FftX2, FftY1, FftY2, TimeY };
constexpr int kMarkerLineCount = 7;

struct MarkerLines {
  std::array<std::optional<int>, kMarkerLineCount> at{};  // column or row
  void Set(MarkerLine m, int pos) { at[static_cast<int>(m)] = pos; }
  std::optional<int> Get(MarkerLine m) const { return at[static_cast<int>(m)]; }
  void Clear() { at = {}; }
};

// X markers run down the plot, Y markers across it.
bool IsVertical(MarkerLine m);
// Magenta for marker 1, cyan for marker 2, black for the time-graph Y marker.
enum class MarkerColour { Magenta, Cyan, Black };
MarkerColour ColourOf(MarkerLine m);

}  // namespace tz
