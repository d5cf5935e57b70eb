// One processing run: input, outputs, reading, conditioning, the TDM file,
// display statistics, the FFT and the FDM file, warnings and statistics figures.
#pragma once

#include <cstdint>

#include "processing/run_context.h"

namespace tz {

struct AnalysisRecord;
struct InputFormat;
class InputFile;

// Message text of the size check for a file of this size, or nullptr.
const char* SizeCheckMessage(uint64_t size);

// One complete run of an input of the given format; the returned marks tell
// how far it got (completed: it reached its end).
RunMarks ProcessInput(AnalysisRecord& r, PlatformOps& ops, const InputFormat& format,
                      const char* inputName, const char* tdmName, const char* fdmName);

// Runs of the three kinds of input.
RunMarks ProcessVbtFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                        const char* tdmName, const char* fdmName);
RunMarks ProcessTdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                        const char* tdmName, const char* fdmName);
RunMarks ProcessFdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                        const char* tdmName, const char* fdmName);

}  // namespace tz
