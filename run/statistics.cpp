#include "run/statistics.h"

#include <cmath>
#include <cstring>

#include "processing/analysis_record.h"
#include "processing/format_sig10.h"
#include "processing/run_context.h"

namespace tz {

namespace {

// One sixtieth as the nearest double: revolutions per minute to per second.
constexpr double kOneOver60 = 0.016666666666666666;

}  // namespace

void ComputeDisplayStatistics(AnalysisRecord& r, RunContext& run) {
  const int s = 2 * r.settings.MovAvgLen;
  const int count = r.counters.ProgrCount - s;
  run.marks.statisticsDone = true;
  if (count <= 0) {
    // No sample in the statistics range: nothing to measure.
    r.stats.RPMfiltMax = r.stats.RPMfiltMin = r.stats.RPMinstMax = r.stats.RPMinstMin = 0;
    r.stats.TRQfiltMax = r.stats.TRQfiltMin = r.stats.POTfiltMax = r.stats.POTfiltMin = 0;
    r.stats.RPMfiltMean = r.stats.RPMinstMean = 0;
    r.stats.Fc = 0;
    return;
  }
  r.stats.RPMfiltMax = r.stats.RPMfiltMin = r.samples.RPMfiltArr[s];
  r.stats.RPMinstMax = r.stats.RPMinstMin = r.samples.RPMinstArr[s];
  r.stats.TRQfiltMax = r.stats.TRQfiltMin = r.samples.TRQfiltArr[s];
  r.stats.POTfiltMax = r.stats.POTfiltMin = r.samples.POTfiltArr[s];
  double sumFilt = 0.0, sumInst = 0.0;
  for (int i = s; i < r.counters.ProgrCount; ++i) {
    run.progress.Report(i, r.counters.ProgrCount, "Calculating max/min for VDU output ....");
    if (r.samples.RPMfiltArr[i] > r.stats.RPMfiltMax) r.stats.RPMfiltMax = r.samples.RPMfiltArr[i];
    if (r.samples.RPMfiltArr[i] < r.stats.RPMfiltMin) r.stats.RPMfiltMin = r.samples.RPMfiltArr[i];
    if (r.samples.RPMinstArr[i] > r.stats.RPMinstMax) r.stats.RPMinstMax = r.samples.RPMinstArr[i];
    if (r.samples.RPMinstArr[i] < r.stats.RPMinstMin) r.stats.RPMinstMin = r.samples.RPMinstArr[i];
    if (r.samples.TRQfiltArr[i] > r.stats.TRQfiltMax) r.stats.TRQfiltMax = r.samples.TRQfiltArr[i];
    if (r.samples.TRQfiltArr[i] < r.stats.TRQfiltMin) r.stats.TRQfiltMin = r.samples.TRQfiltArr[i];
    if (r.samples.POTfiltArr[i] > r.stats.POTfiltMax) r.stats.POTfiltMax = r.samples.POTfiltArr[i];
    if (r.samples.POTfiltArr[i] < r.stats.POTfiltMin) r.stats.POTfiltMin = r.samples.POTfiltArr[i];
    sumFilt = sumFilt + r.samples.RPMfiltArr[i];
    sumInst = sumInst + r.samples.RPMinstArr[i];
  }
  r.stats.RPMfiltMean = sumFilt / count;
  r.stats.RPMinstMean = sumInst / count;
  r.stats.Fc = r.stats.RPMfiltMean * r.params.N_SLOT * kOneOver60;
}

void CheckSpeedVariation(const AnalysisRecord& r, PlatformOps& ops) {
  if (r.counters.ProgrCount - 2 * r.settings.MovAvgLen <= 0) return;
  const double fm = r.stats.RPMfiltMean, im = r.stats.RPMinstMean;
  if (std::fabs((r.stats.RPMfiltMax - fm) / fm) > 0.02 ||
      std::fabs((fm - r.stats.RPMfiltMin) / fm) > 0.02)
    ops.ShowMessage("VBT preprocessor",
                    "Alarm: Filtered RPM variation too high (>2%). FFT not reliable!");
  if (std::fabs((r.stats.RPMinstMax - im) / im) > 0.06 ||
      std::fabs((im - r.stats.RPMinstMin) / im) > 0.06)
    ops.ShowMessage("VBT preprocessor",
                    "Warning: Unfiltered RPM variation too high (> 6%). FFT not reliable!");
}

void FilteredPercentText(const AnalysisRecord& r, char* out) {
  if (r.counters.RawCount > 0) {
    FormatSig10(static_cast<double>(r.counters.FilteredCount) / r.counters.RawCount * 100, out, 6);
  } else {
    std::memcpy(out, "0.000", 6);
  }
}

}  // namespace tz
