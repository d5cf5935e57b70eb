#include "display/marker_lines.h"

namespace tz {

bool IsVertical(MarkerLine m) {
  return m == MarkerLine::TimeX1 || m == MarkerLine::TimeX2 || m == MarkerLine::FftX1 ||
         m == MarkerLine::FftX2;
}

MarkerColour ColourOf(MarkerLine m) {
  switch (m) {
    case MarkerLine::TimeX1:
    case MarkerLine::FftX1:
    case MarkerLine::FftY1:
      return MarkerColour::Magenta;
    case MarkerLine::TimeX2:
    case MarkerLine::FftX2:
    case MarkerLine::FftY2:
      return MarkerColour::Cyan;
    case MarkerLine::TimeY:
      break;
  }
  return MarkerColour::Black;
}

}  // namespace tz
