// How each kind of input file is read; the rest of a run is shared.
#pragma once

#include <cstddef>
#include <cstdint>

#include "processing/codes.h"

namespace tz {

struct HeaderParameters;
struct ProcessingSettings;
struct HeaderStep;

struct InputFormat {
  InputKind kind;
  const char* checkCaption;          // caption of the counter-period message
  const char* preprocessorCaption;   // caption of the end-of-input messages
  int sampleState;                   // header state of the sample lines
  // One step of the header state machine: the new state and what the line asks of the run.
  HeaderStep (*parseHeader)(HeaderParameters& params, ProcessingSettings& settings,
                            const char* line, size_t len, int state);
  // Sample-line parser: false for a line without a comma.
  bool (*parseSample)(const char* line, size_t len, uint32_t* cislot, uint32_t* cslot);
  // true (the instrument's own file): progress dialog with texts, statistics
  // figures at the very end and the speed warnings after the FFT; false (an
  // earlier run's output): toolbar bar only, figures as soon as the input has
  // been read, warnings before the FFT.
  bool fromInstrument;
};

extern const InputFormat kVbtInput;
extern const InputFormat kTdmInput;
extern const InputFormat kFdmInput;

// The format of a source kind; an unknown kind has none (nullptr).
const InputFormat* FormatOf(InputKind kind);

}  // namespace tz
