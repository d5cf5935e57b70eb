// The Process File command: one run of the current source by its kind.
#pragma once

namespace tz {

struct AnalysisRecord;
class PlatformOps;

// Runs ProcessVbtFile, ProcessTdmFile or ProcessFdmFile by r.SourceKind;
// true when the run reached its end.
bool RunProcessing(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                   const char* tdmName, const char* fdmName);

}  // namespace tz
