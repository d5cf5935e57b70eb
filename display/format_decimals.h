// Number texts of the panels: a value with d decimals, written by the file
// rule with d + 8 significant digits and cut behind the d-th decimal; an
// exponent is kept behind the cut.
#pragma once

#include <string>

namespace tz {

// 1234.5678 with 3 gives "1234.567", 100.0 with 3 gives "100", 0.00001234
// with 2 gives "1.23e-005". Infinities and NaN keep their whole text.
std::string FormatDecimals(double value, int decimals);

}  // namespace tz
