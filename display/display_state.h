// What the graph display shows. Program-wide, like the analysis record; the
// display settings change it, the display rebuild and the painting read it.
#pragma once

namespace tz {

struct DisplayState {
  int ShowFft = 1;  // 1: the FFT graph; 0: the time graphs
};

}  // namespace tz
