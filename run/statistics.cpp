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
  const int s = 2 * r.MovAvgLen;
  const int count = r.ProgrCount - s;
  run.marks.statisticsDone = true;
  if (count <= 0) {
    // No sample in the statistics range: nothing to measure.
    r.RPMfiltMax = r.RPMfiltMin = r.RPMinstMax = r.RPMinstMin = 0;
    r.TRQfiltMax = r.TRQfiltMin = r.POTfiltMax = r.POTfiltMin = 0;
    r.RPMfiltMean = r.RPMinstMean = 0;
    r.Fc = 0;
    return;
  }
  r.RPMfiltMax = r.RPMfiltMin = r.RPMfiltArr[s];
  r.RPMinstMax = r.RPMinstMin = r.RPMinstArr[s];
  r.TRQfiltMax = r.TRQfiltMin = r.TRQfiltArr[s];
  r.POTfiltMax = r.POTfiltMin = r.POTfiltArr[s];
  double sumFilt = 0.0, sumInst = 0.0;
  for (int i = s; i < r.ProgrCount; ++i) {
    run.progress.Report(i, r.ProgrCount, "Calculating max/min for VDU output ....");
    if (r.RPMfiltArr[i] > r.RPMfiltMax) r.RPMfiltMax = r.RPMfiltArr[i];
    if (r.RPMfiltArr[i] < r.RPMfiltMin) r.RPMfiltMin = r.RPMfiltArr[i];
    if (r.RPMinstArr[i] > r.RPMinstMax) r.RPMinstMax = r.RPMinstArr[i];
    if (r.RPMinstArr[i] < r.RPMinstMin) r.RPMinstMin = r.RPMinstArr[i];
    if (r.TRQfiltArr[i] > r.TRQfiltMax) r.TRQfiltMax = r.TRQfiltArr[i];
    if (r.TRQfiltArr[i] < r.TRQfiltMin) r.TRQfiltMin = r.TRQfiltArr[i];
    if (r.POTfiltArr[i] > r.POTfiltMax) r.POTfiltMax = r.POTfiltArr[i];
    if (r.POTfiltArr[i] < r.POTfiltMin) r.POTfiltMin = r.POTfiltArr[i];
    sumFilt = sumFilt + r.RPMfiltArr[i];
    sumInst = sumInst + r.RPMinstArr[i];
  }
  r.RPMfiltMean = sumFilt / count;
  r.RPMinstMean = sumInst / count;
  r.Fc = r.RPMfiltMean * r.N_SLOT * kOneOver60;
}

void CheckSpeedVariation(const AnalysisRecord& r, PlatformOps& ops) {
  if (r.ProgrCount - 2 * r.MovAvgLen <= 0) return;
  const double fm = r.RPMfiltMean, im = r.RPMinstMean;
  if (std::fabs((r.RPMfiltMax - fm) / fm) > 0.02 || std::fabs((fm - r.RPMfiltMin) / fm) > 0.02)
    ops.ShowMessage("VBT preprocessor",
                    "Alarm: Filtered RPM variation too high (>2%). FFT not reliable!");
  if (std::fabs((r.RPMinstMax - im) / im) > 0.06 || std::fabs((im - r.RPMinstMin) / im) > 0.06)
    ops.ShowMessage("VBT preprocessor",
                    "Warning: Unfiltered RPM variation too high (> 6%). FFT not reliable!");
}

void FilteredPercentText(const AnalysisRecord& r, char* out) {
  if (r.RawCount > 0) {
    FormatSig10(static_cast<double>(r.FilteredCount) / r.RawCount * 100, out, 6);
  } else {
    std::memcpy(out, "0.000", 6);
  }
}

}  // namespace tz
