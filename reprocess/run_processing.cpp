#include "reprocess/run_processing.h"

#include "processing/analysis_record.h"
#include "processing/run.h"
#include "reprocess/reprocess_input.h"

namespace tz {

bool RunProcessing(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                   const char* tdmName, const char* fdmName) {
  if (r.SourceKind == kSourceVbt) return ProcessVbtFile(r, ops, inputName, tdmName, fdmName);
  if (r.SourceKind == kSourceTdm) return ProcessTdmFile(r, ops, inputName, tdmName, fdmName);
  if (r.SourceKind == kSourceFdm) return ProcessFdmFile(r, ops, inputName, tdmName, fdmName);
  return false;
}

}  // namespace tz
