// A record, a layout and a display state for the graph display's tests:
// a plot of a known size and a record filled by each test.
#pragma once

#include <gtest/gtest.h>

#include "display/display_state.h"
#include "display/layout.h"
#include "processing/analysis_record.h"

namespace tz::test {

class DisplayFixture : public ::testing::Test {
 protected:
  DisplayFixture() : rec(NewAnalysisRecord()), r(*rec) {
    r.settings.MovAvgLen = 5;
    SetPlot(800, 500, 480);
  }

  void SetPlot(int plotWidth, int clientHeight, int plotHeight) {
    l.PlotWidth = static_cast<uint16_t>(plotWidth);
    l.ClientHeight = static_cast<uint16_t>(clientHeight);
    l.PlotHeight = static_cast<uint16_t>(plotHeight);
    l.PlotTop = 0;
  }

  // count samples of the given value in every time array, Progr 1..count.
  void FillSamples(int count, double value) {
    r.counters.ProgrCount = count;
    for (int i = 1; i <= count; ++i) {
      r.samples.TprogrArr[i] = i * 0.001;
      r.samples.RPMfiltArr[i] = r.samples.RPMinstArr[i] = r.samples.TRQfiltArr[i] = r.samples.POTfiltArr[i] = value;
    }
  }
  void SetStatistics(double max, double min) {
    r.stats.RPMfiltMax = r.stats.RPMinstMax = r.stats.TRQfiltMax = r.stats.POTfiltMax = max;
    r.stats.RPMfiltMin = r.stats.RPMinstMin = r.stats.TRQfiltMin = r.stats.POTfiltMin = min;
  }
  // Shows one choice of the seven.
  void Show(DisplayChoice choice) { s.Show = choice; }

  RecordPtr rec;
  AnalysisRecord& r;
  LayoutRecord l;
  DisplayState s;
};

}  // namespace tz::test
