#include "app/run_records.h"

#include <utility>

namespace tz {

void CopyRunChoices(const AnalysisRecord& from, AnalysisRecord& to) {
  to.params = from.params;
  to.settings = from.settings;
  to.source = from.source;
}

RunRecords::RunRecords() : shown_(NewAnalysisRecord()), next_(NewAnalysisRecord()) {}

void RunRecords::Completed() {
  std::swap(shown_, next_);
  CopyRunChoices(*shown_, *next_);
}

void RunRecords::Failed() { CopyRunChoices(*shown_, *next_); }

}  // namespace tz
