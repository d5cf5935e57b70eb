// Reading numbers from the text of input files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tz {

// Reads a decimal real number from the start of text[0..len): white space
// (blank, tab, LF, VT, FF, CR) is skipped, then an optional sign, digits with
// an optional point and an optional exponent. Reading stops at the first
// character that does not fit; text without a number gives 0. No hexadecimal,
// "inf" or "nan". Overflow gives +-inf, underflow +-0.
double ReadDecimalReal(const char* text, size_t len);

// Reads a decimal integer (white space, optional sign, digits) in 32-bit
// arithmetic that wraps around, and returns it as an unsigned 32-bit value.
uint32_t ReadWrappedUInt32(const char* text, size_t len);

// Truncates toward zero and takes the low 32 bits of the whole number:
// 3000000000.7 gives 3000000000, -1.5 gives 4294967295, +-inf and NaN give 0.
uint32_t LowBitsOfTruncated(double x);

// Truncates toward zero and clamps into lo..hi (+inf to hi, -inf and NaN to lo).
int TruncateClamp(double x, int lo, int hi);

}  // namespace tz
