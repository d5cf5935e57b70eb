// Fuzz target: the number-to-text rule of the output files. Every double
// (the first 8 bytes) must give a text that reads back to the same 10
// significant digits: formatting the value read back gives the same text,
// and it names the same number as the C library's 10-digit rounding.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "processing/format_sig10.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  double x;
  if (size < sizeof x) return 0;
  std::memcpy(&x, data, sizeof x);
  char text[tz::kSig10Size];
  const size_t len = tz::FormatSig10(x, text);
  if (len == 0 || len >= tz::kSig10Size || text[len] != '\0') std::abort();
  if (!std::isfinite(x)) return 0;
  const double back = std::strtod(text, nullptr);
  // (Ten digits of the largest doubles read back as infinity.)
  if (std::isfinite(back)) {
    char again[tz::kSig10Size];
    tz::FormatSig10(back, again);
    if (std::strcmp(text, again) != 0) std::abort();
  }
  char ref[64];
  std::snprintf(ref, sizeof ref, "%.9e", x);
  if (std::strtod(ref, nullptr) != back) std::abort();
  return 0;
}
