// The number-to-text rule of every text file the program writes: N
// significant digits, fixed notation for exponents -1..N-1, otherwise
// exponential notation with a three-digit exponent; trailing zeros removed,
// the decimal point always kept.
#pragma once

#include <cstddef>
#include <string>

namespace tz {

// Longest text FormatSig10 can produce, with room for a terminating zero.
constexpr size_t kSig10Size = 32;
// Longest text of 10 significant digits: sign, ten digits, point, "e", sign
// and three exponent digits ("-1.234567891e-100"). The integer form is never
// longer, nor the header-value form, which adds its "0" only to a text in
// fixed notation (at most 12 characters).
constexpr size_t kSig10MaxLength = 17;

// Writes the text of x with n significant digits (1..17) to out (at least
// kSig10Size bytes), zero-terminated; returns its length.
size_t FormatSig10(double x, char* out, int n = 10);

// The same text from the standard library's correctly rounded conversion
// alone: the reference the fast path of FormatSig10 is checked against.
size_t FormatSig10Exact(double x, char* out, int n = 10);

// Integer form: the text without its last character (the point of a whole number).
size_t FormatSig10Int(double x, char* out);

// Header-value form: "0" appended when the text ends with the point.
size_t FormatSig10Header(double x, char* out);

// Convenience wrappers for code outside the hot path.
std::string Sig10(double x, int n = 10);
std::string Sig10Int(double x);
std::string Sig10Header(double x);

}  // namespace tz
