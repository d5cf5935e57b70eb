#include "run/run_processing.h"

#include "processing/analysis_record.h"
#include "run/input_format.h"
#include "run/process_input.h"

namespace tz {

RunMarks RunProcessing(AnalysisRecord& r, PlatformOps& ops) {
  const InputFormat* format = FormatOf(r.SourceKind);
  if (format == nullptr) return RunMarks();
  return ProcessInput(r, ops, *format, r.InputPath.c_str(), r.TdmPath.c_str(),
                      r.FdmPath.c_str());
}

}  // namespace tz
