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

void BoundFilterLengths(AnalysisRecord& r) {
  r.MovAvgLen = std::clamp(r.MovAvgLen, kMovAvgMin, kMovAvgMax);
  r.ZeroCrossLen = std::clamp(r.ZeroCrossLen, kZeroCrossMin, kZeroCrossMax);
}

void ResetRunState(AnalysisRecord& r) {
  std::fill(std::begin(r.MaRPM), std::end(r.MaRPM), 0.0);
  std::fill(std::begin(r.MaTRQ), std::end(r.MaTRQ), 0.0);
  std::fill(std::begin(r.MaPOT), std::end(r.MaPOT), 0.0);
  r.ProgrCount = 0;
  r.RawCount = 0;
  r.FilteredCount = 0;
  r.BytesRead = 0;
  r.DroppedSampleLines = 0;
  r.Tprogr = 0;
  r.TprogrPrev = 0;
  r.RotSign = 1.0;
  r.RotSignPrev = 1.0;
  // A run never depends on an earlier one: the conditioning windows start
  // at zero, as at program start.
  std::fill(std::begin(r.CislotWin), std::end(r.CislotWin), 0.0);
  std::fill(std::begin(r.CslotWin), std::end(r.CslotWin), 0.0);
}

}  // namespace tz
