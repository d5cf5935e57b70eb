// A TDM or FDM file written by an earlier run, read back as the source of a
// new run: its header block, its settings and the raw samples appended to it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tz {

struct AnalysisRecord;
class PlatformOps;
struct InputKind;

constexpr int kTdmSampleState = 22;
constexpr int kFdmSampleState = 27;

extern const InputKind kTdmInput;
extern const InputKind kFdmInput;

// Header state machines of the two files (states 0..22 and 0..27).
int ParseTdmHeaderLine(AnalysisRecord& r, const char* line, size_t len, int state);
int ParseFdmHeaderLine(AnalysisRecord& r, const char* line, size_t len, int state);

// "Progr, Cislot, Cslot": the second and third comma-separated fields, read
// as decimal reals, truncated toward zero, low 32 bits. False without a comma.
bool ParseAppendedSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot);

bool ProcessTdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                    const char* tdmName, const char* fdmName);
bool ProcessFdmFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                    const char* tdmName, const char* fdmName);

}  // namespace tz
