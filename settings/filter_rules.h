// The rules of the filtering settings dialog, without its window: how the
// four settings are shown in their boxes, how the box texts are read back,
// and which values are stored on OK.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "processing/analysis_record.h"

namespace tz {

// Texts of the four boxes, 8-bit characters.
struct FilterTexts {
  std::string overshoot;     // AllowedOvershoot, a fraction
  std::string movAvgLen;     // MovAvgLen
  std::string threshold;     // RPMthreshold
  std::string zeroCrossLen;  // ZeroCrossLen
};

// What the boxes read as, before the lengths are clamped.
struct FilterEntries {
  double overshoot = 0;
  uint32_t movAvgLen = 0;
  double threshold = 0;
  uint32_t zeroCrossLen = 0;
};

// Characters of a real-number box that are read; the rest is ignored.
constexpr size_t kRealEntryChars = 9;

// FormatSig10 of x with a final decimal point removed: 2 gives "2",
// 0.1 gives "0.1", one thousandth gives "1.e-003".
std::string RealBoxText(double x);

// n as an unsigned decimal whole number (a negative n shows its unsigned
// 32-bit value, as it is read back).
std::string WholeBoxText(int n);

// The texts the dialog opens with.
FilterTexts FilterBoxTexts(const AnalysisRecord& r);

// The first kRealEntryChars characters read as a decimal real (leading white
// space skipped, text without a number gives 0).
double ReadRealEntry(std::string_view text);

// Unsigned whole number: leading blanks (space, tab) skipped, then the
// digits up to the first other character. Text that does not begin with a
// digit, or a number beyond the unsigned 32-bit range, gives 0.
uint32_t ReadWholeEntry(std::string_view text);

FilterEntries ReadFilterEntries(const FilterTexts& t);

// The ranges the buffers of the filters allow.
int ClampMovAvgLen(uint32_t n);      // 5..200
int ClampZeroCrossLen(uint32_t n);   // 4..30

// Stores the entries, in the order overshoot, moving-average length,
// threshold, zero-crossing length, unless all four equal the settings in
// force (the reals compared exactly); returns true when they were stored.
// The two lengths are brought into their ranges in either case, so that no
// run gets a length its buffers cannot hold.
bool StoreFilterEntries(AnalysisRecord& r, const FilterEntries& e);

// OK without the window: reads and stores the texts and marks the settings as
// the user's own (UseFilterDefaults = 0), whether or not anything changed.
void ConfirmFilterSettings(AnalysisRecord& r, const FilterTexts& t);

}  // namespace tz
