// A TDM or FDM file written by an earlier run, read back as the source of a
// new run: its header block, its settings and the raw samples appended to it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tz {

struct HeaderParameters;
struct ProcessingSettings;
struct HeaderStep;

constexpr int kTdmSampleState = 22;
constexpr int kFdmSampleState = 27;

// Header state machines of the two files (states 0..22 and 0..27): fill the
// parameters and, while the header may set them, the filter settings. The
// column line of the appended samples completes the header.
HeaderStep ParseTdmHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                              const char* line, size_t len, int state);
HeaderStep ParseFdmHeaderLine(HeaderParameters& params, ProcessingSettings& settings,
                              const char* line, size_t len, int state);

// "Progr, Cislot, Cslot": the second and third comma-separated fields, read
// as decimal reals, truncated toward zero, low 32 bits. False without a comma.
bool ParseAppendedSampleLine(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot);

}  // namespace tz
