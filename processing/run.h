// The processing run: input, outputs, reading, conditioning, the TDM file,
// display statistics, the FFT and the FDM file, warnings and statistics figures.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tz {

struct AnalysisRecord;
class PlatformOps;
class InputFile;

// How a kind of input file is read; the rest of a run is shared.
struct InputKind {
  const char* checkCaption;          // caption of the counter-period message
  const char* preprocessorCaption;   // caption of the end-of-input messages
  int sampleState;                   // header state of the sample lines
  // One step of the header state machine; returns the new state or kHeaderAbort.
  int (*parseHeader)(AnalysisRecord& r, const char* line, size_t len, int state);
  // Sample-line parser: false for a line without a comma.
  bool (*parseSample)(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot);
  // true: progress dialog with texts, statistics figures at the very end and
  // the speed warnings after the FFT; false: toolbar bar only, figures when
  // the input has been read, warnings before the FFT.
  bool fromInstrument;
};

extern const InputKind kVbtInput;

// Size check of an input: false (after its report) when the file is refused.
bool CheckInputSize(AnalysisRecord& r, InputFile& input, uint64_t* size);

// Message text of the size check for a file of this size, or nullptr.
const char* SizeCheckMessage(uint64_t size);

// Display statistics over Progr = 2 x MovAvgLen .. ProgrCount-1, the means and Fc.
void ComputeDisplayStatistics(AnalysisRecord& r);

// The two speed-variation warnings (none for an empty statistics range).
void CheckSpeedVariation(AnalysisRecord& r);

// Text of the filtered-percentage field: 6 significant digits, "0.000" without samples.
void FilteredPercentText(const AnalysisRecord& r, char* out);

// One complete run from the given input kind; true when it reached its end.
bool ProcessInput(AnalysisRecord& r, PlatformOps& ops, const InputKind& kind,
                  const char* inputName, const char* tdmName, const char* fdmName);

// Run of a VBT file.
bool ProcessVbtFile(AnalysisRecord& r, PlatformOps& ops, const char* inputName,
                    const char* tdmName, const char* fdmName);

}  // namespace tz
