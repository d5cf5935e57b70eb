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
// Largest departure of the extremes from the mean, as a share of the mean,
// for which the spectrum is reliable: filtered and unfiltered speed.
constexpr double kFilteredRpmVariation = 0.02;
constexpr double kInstantRpmVariation = 0.06;
// Significant digits of the filtered percentage, and its text without samples.
constexpr int kPercentDigits = 6;
constexpr char kNoSamplePercent[] = "0.000";

// True when either extreme departs from the mean by more than the share.
bool VariesTooMuch(double max, double mean, double min, double share) {
  return std::fabs((max - mean) / mean) > share || std::fabs((mean - min) / mean) > share;
}

}  // namespace

void ComputeDisplayStatistics(AnalysisRecord& r, RunContext& run) {
  DisplayStatistics& st = r.stats;
  const SampleArrays& a = r.samples;
  const int s = StatisticsStart(r.settings);
  const int end = r.counters.ProgrCount;  // the last emitted sample is left out
  const int count = end - s;
  run.marks.statisticsDone = true;
  if (count <= 0) {
    st = DisplayStatistics{};  // no sample in the statistics range: nothing to measure
    return;
  }
  st.RPMfiltMax = st.RPMfiltMin = a.RPMfiltArr[s];
  st.RPMinstMax = st.RPMinstMin = a.RPMinstArr[s];
  st.TRQfiltMax = st.TRQfiltMin = a.TRQfiltArr[s];
  st.POTfiltMax = st.POTfiltMin = a.POTfiltArr[s];
  double sumFilt = 0.0, sumInst = 0.0;
  for (int i = s; i < end; ++i) {
    run.progress.Report(i, end, "Calculating max/min for VDU output ....");
    if (a.RPMfiltArr[i] > st.RPMfiltMax) st.RPMfiltMax = a.RPMfiltArr[i];
    if (a.RPMfiltArr[i] < st.RPMfiltMin) st.RPMfiltMin = a.RPMfiltArr[i];
    if (a.RPMinstArr[i] > st.RPMinstMax) st.RPMinstMax = a.RPMinstArr[i];
    if (a.RPMinstArr[i] < st.RPMinstMin) st.RPMinstMin = a.RPMinstArr[i];
    if (a.TRQfiltArr[i] > st.TRQfiltMax) st.TRQfiltMax = a.TRQfiltArr[i];
    if (a.TRQfiltArr[i] < st.TRQfiltMin) st.TRQfiltMin = a.TRQfiltArr[i];
    if (a.POTfiltArr[i] > st.POTfiltMax) st.POTfiltMax = a.POTfiltArr[i];
    if (a.POTfiltArr[i] < st.POTfiltMin) st.POTfiltMin = a.POTfiltArr[i];
    sumFilt = sumFilt + a.RPMfiltArr[i];
    sumInst = sumInst + a.RPMinstArr[i];
  }
  st.RPMfiltMean = sumFilt / count;
  st.RPMinstMean = sumInst / count;
  // One emitted sample per slot passage.
  st.Fc = st.RPMfiltMean * r.params.N_SLOT * kOneOver60;
}

void CheckSpeedVariation(const AnalysisRecord& r, PlatformOps& ops) {
  if (r.counters.ProgrCount - StatisticsStart(r.settings) <= 0) return;
  const DisplayStatistics& st = r.stats;
  if (VariesTooMuch(st.RPMfiltMax, st.RPMfiltMean, st.RPMfiltMin, kFilteredRpmVariation))
    ops.ShowMessage("VBT preprocessor",
                    "Alarm: Filtered RPM variation too high (>2%). FFT not reliable!");
  if (VariesTooMuch(st.RPMinstMax, st.RPMinstMean, st.RPMinstMin, kInstantRpmVariation))
    ops.ShowMessage("VBT preprocessor",
                    "Warning: Unfiltered RPM variation too high (> 6%). FFT not reliable!");
}

void FilteredPercentText(const AnalysisRecord& r, char* out) {
  const RunCounters& n = r.counters;
  if (n.RawCount > 0)
    FormatSig10(static_cast<double>(n.FilteredCount) / n.RawCount * 100, out, kPercentDigits);
  else
    std::memcpy(out, kNoSamplePercent, sizeof kNoSamplePercent);
}

}  // namespace tz
