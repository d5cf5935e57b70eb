#include "run/run_processing.h"

#include <new>

#include "processing/analysis_record.h"
#include "run/input_format.h"
#include "run/process_input.h"

namespace tz {

RunMarks RunProcessing(AnalysisRecord& r, PlatformOps& ops) {
  const InputFormat* format = FormatOf(r.source.SourceKind);
  if (format == nullptr) return RunMarks();
  try {
    return ProcessInput(r, ops, *format, r.source.InputPath.c_str(), r.source.TdmPath.c_str(),
                        r.source.FdmPath.c_str());
  } catch (const std::bad_alloc&) {
    // The run's files were released on the way out, the outputs untouched.
    ops.ShowMessage(kMemoryCaption, kMemoryText);
    return RunMarks();
  }
}

}  // namespace tz
