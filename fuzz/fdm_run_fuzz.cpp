// Fuzz target: a whole run of a FDM input made of arbitrary bytes.
#include "fuzz/fuzz_run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return tz::fuzz::RunOnBytes(tz::InputKind::Fdm, data, size);
}
