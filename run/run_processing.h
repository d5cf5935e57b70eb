// The Process File command: the one entry of a processing run for every
// front end (desktop program, batch command, tests).
#pragma once

#include "processing/run_context.h"

namespace tz {

struct AnalysisRecord;

// What a run that runs out of memory says; it fails like any other run.
constexpr char kMemoryCaption[] = "Torzalen";
constexpr char kMemoryText[] = "Not enough memory to process the file.";

// Runs the current source r.source.InputPath, of kind r.source.SourceKind, into r.source.TdmPath
// and r.source.FdmPath; returns how far the run got (completed: it reached its end).
RunMarks RunProcessing(AnalysisRecord& r, PlatformOps& ops);

}  // namespace tz
