#include "processing/analysis_record.h"

#include <algorithm>
#include <cstdint>
#include <new>

#include "processing/large_memory.h"

namespace tz {

void AnalysisRecordDeleter::operator()(AnalysisRecord* r) const {
  r->~AnalysisRecord();
  UnmapLarge(r, sizeof(AnalysisRecord));
}

RecordPtr NewAnalysisRecord() {
  // Zeroed memory from the system (pages are only touched when used, a
  // full-capacity run touches some 50 MB of them), then the member
  // initialisers give the program-start values.
  void* mem = MapLarge(sizeof(AnalysisRecord));
  return RecordPtr(new (mem) AnalysisRecord);
}

namespace {

// Clears elements [0, n) of an array of the record, n bounded by its capacity.
template <typename T, size_t N>
void ClearFirst(T (&array)[N], int64_t n) {
  const size_t count = n <= 0 ? 0 : std::min(static_cast<size_t>(n), N);
  std::fill(array, array + count, T{});
}

}  // namespace

void ClearLastRun(AnalysisRecord& r) {
  // What the run wrote: raw samples 0 .. RawCount - 1, emitted samples 1 ..
  // ProgrCount (the FFT's input loads fewer of them), FFT_N points and half
  // as many spectral lines, with the few the peak cleaning reads past them.
  const int64_t raw = r.counters.RawCount, emitted = int64_t{r.counters.ProgrCount} + 1;
  SampleArrays& a = r.samples;
  ClearFirst(a.CislotRaw, raw);
  ClearFirst(a.CslotRaw, raw);
  for (auto* x : {&a.TprogrArr, &a.RPMinstArr, &a.RPMfiltArr, &a.TRQfiltArr, &a.POTfiltArr})
    ClearFirst(*x, emitted);
  SpectrumResults& sp = r.spectrum;
  const int64_t points = sp.FFT_N, lines = points / 2 + kLinesReadPastTheLast;
  ClearFirst(sp.FFTinRe, std::max(emitted, points));
  ClearFirst(sp.FFTinIm, std::max(emitted, points));
  for (auto* x : {&sp.SincKernel, &sp.FFTre, &sp.FFTim, &sp.FFTfreq}) ClearFirst(*x, points);
  ClearFirst(sp.SpecLines, lines);
  ClearFirst(sp.SpecLinesTmp, points / 2);
  ClearFirst(sp.PickOrder, points / 2);
  ClearSpectrumFigures(sp);
  r.params = HeaderParameters{};
  r.settings = ProcessingSettings{};
  r.counters = RunCounters{};
  r.work = WorkingState{};
  r.stats = DisplayStatistics{};
}

void ClearSpectrumFigures(SpectrumResults& sp) {
  sp.FFT_N = 0;
  sp.FundLine = 0;
  sp.FundMag = 0;
  sp.DCEndLine = 0;
  sp.FloorLevel = 0;
  sp.TotalEnergy = 0;
  sp.EvenSymErrRe = 0;
  sp.OddSymErrIm = 0;
}

void BoundFilterLengths(ProcessingSettings& settings) {
  settings.MovAvgLen = std::clamp(settings.MovAvgLen, kMovAvgMin, kMovAvgMax);
  settings.ZeroCrossLen = std::clamp(settings.ZeroCrossLen, kZeroCrossMin, kZeroCrossMax);
}

void ResetRunState(AnalysisRecord& r) {
  std::fill(std::begin(r.work.MaRPM), std::end(r.work.MaRPM), 0.0);
  std::fill(std::begin(r.work.MaTRQ), std::end(r.work.MaTRQ), 0.0);
  std::fill(std::begin(r.work.MaPOT), std::end(r.work.MaPOT), 0.0);
  r.counters = RunCounters{};
  r.work.Tprogr = 0;
  r.work.TprogrPrev = 0;
  r.work.RotSign = 1.0;
  r.work.RotSignPrev = 1.0;
  // A run never depends on an earlier one: the conditioning windows start
  // at zero, as at program start.
  std::fill(std::begin(r.work.CislotWin), std::end(r.work.CislotWin), 0.0);
  std::fill(std::begin(r.work.CslotWin), std::end(r.work.CslotWin), 0.0);
}

}  // namespace tz
