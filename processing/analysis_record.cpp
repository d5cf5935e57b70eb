#include "processing/analysis_record.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace tz {

void AnalysisRecordDeleter::operator()(AnalysisRecord* r) const {
  r->~AnalysisRecord();
  std::free(r);
}

RecordPtr NewAnalysisRecord() {
  // Zeroed memory from the system (pages are only touched when used), then
  // the member initialisers give the program-start values.
  void* mem = std::calloc(1, sizeof(AnalysisRecord));
  if (mem == nullptr) throw std::bad_alloc();
  return RecordPtr(new (mem) AnalysisRecord);
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
