// Fuzz target: the number-to-text rule of the output files. Every double
// must give the same text as the exact conversion alone, byte for byte (and
// its integer form that text without the last character, whole numbers
// taking a way of their own), no longer than kSig10MaxLength, and
// a text that reads back to the same 10 significant digits: formatting the
// value read back gives the same text, and it names the same number as the
// C library's 10-digit rounding. The first 8 bytes are a double as they are;
// the next 8, if there, one with its exponent folded into 2^-43..2^103, where
// the fast path of the conversion works.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "processing/format_sig10.h"

namespace {

void Check(double x) {
  char text[tz::kSig10Size];
  const size_t len = tz::FormatSig10(x, text);
  if (len == 0 || len >= tz::kSig10Size || text[len] != '\0') std::abort();
  char exact[tz::kSig10Size];
  if (tz::FormatSig10Exact(x, exact) != len || std::memcmp(text, exact, len + 1) != 0) std::abort();
  if (len > tz::kSig10MaxLength) std::abort();
  // The integer form: the text without its last character.
  char integer[tz::kSig10Size];
  if (tz::FormatSig10Int(x, integer) != len - 1 || std::memcmp(integer, text, len - 1) != 0 ||
      integer[len - 1] != '\0')
    std::abort();
  if (!std::isfinite(x)) return;
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint64_t bits;
  if (size < sizeof bits) return 0;
  std::memcpy(&bits, data, sizeof bits);
  double x;
  std::memcpy(&x, &bits, sizeof x);
  Check(x);
  if (size < 2 * sizeof bits) return 0;
  std::memcpy(&bits, data + sizeof bits, sizeof bits);
  const uint64_t exponent = 1023 - 43 + ((bits >> 52) & 0x7ff) % 146;
  bits = (bits & 0x800fffffffffffffull) | exponent << 52;
  std::memcpy(&x, &bits, sizeof x);
  Check(x);
  return 0;
}
