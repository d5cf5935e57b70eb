// Number texts of the panels: a value with d decimals, written by the file
// rule with d + 8 significant digits, that decimal text rounded half away
// from zero to d decimals (of the mantissa, in an exponential text) and
// written again as the file rule writes it: trailing zeros behind the point
// dropped.
#pragma once

#include <string>

namespace tz {

// 1234.5678 with 3 gives "1234.568", 100.0 with 3 gives "100", 0.00001235
// with 2 gives "1.24e-005", 9.9996 with 3 gives "10", -0.4 with 0 gives "0"
// (never "-0"). Infinities and NaN keep their whole text.
std::string FormatDecimals(double value, int decimals);

}  // namespace tz
