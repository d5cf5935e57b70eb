// The lines of a header that carry a value, each described once: the writer
// of the header block (TDM and FDM files) and the header readers of all
// three kinds of input read these tables, with the helpers that split a line.
#pragma once

#include <cstddef>

#include "processing/analysis_record.h"

namespace tz {

// Texts of the header block's first lines.
constexpr char kRevisionLine[] = "Rev. 1.0";
constexpr char kDateKeyword[] = "Date:";
constexpr char kTimeKeyword[] = "Time:";

// Which file's form of a line: the instrument's own (VBT), or the header
// block that our TDM and FDM files begin with.
enum class HeaderForm { Instrument, Block };

// A measurement-parameter line: keyword, value, unit. Reading cuts as many
// characters from the end as the unit has, whatever they are, and reads the
// rest after the keyword as a decimal real.
struct ParameterLine {
  const char* keyword;  // in the header block
  const char* unit;     // after the value in the header block
  double HeaderParameters::*field;
  const char* vbtKeyword;  // in the instrument's file
  const char* vbtUnit;     // after the value in the instrument's file
  // False: the reader of the header block leaves the unit on the value, whose
  // number simply ends at the unit's first letter.
  bool blockUnitCut = true;
};

// The counter period and the ten shaft and disc parameters, in file order.
inline constexpr ParameterLine kParameterLines[] = {
    {"Counter period=", "uS", &HeaderParameters::Fmux, "Fmux=", "uS"},
    {"G=", "N/sqmm", &HeaderParameters::G, "G=", "N/sqmm"},
    {"Rext=", "mm", &HeaderParameters::Rext, "Rext=", "mm"},
    {"Rint=", "mm", &HeaderParameters::Rint, "Rint=", "mm"},
    {"L=", "mm", &HeaderParameters::L, "L=", "mm"},
    {"N_SLOT=", "", &HeaderParameters::N_SLOT, "N_SLOT=", ""},
    {"A_SLOT=", "degrees", &HeaderParameters::A_SLOT, "A_SLOT=", "", false},
    {"Perc_Slot=", "", &HeaderParameters::Perc_Slot, "Perc_Slot=", ""},
    {"RPMmax=", "", &HeaderParameters::RPMmax, "RPMmax=", "rpm"},
    {"PCoeff=", "", &HeaderParameters::PCoeff, "PCoeff=", ""},
    {"PDist=", "", &HeaderParameters::PDist, "PDist=", ""},
};

// A filter-setting line of the header block: keyword and value, no unit.
// A real setting is written as a header value; a length as an integer, and
// read truncated toward zero and held to lo..hi.
struct SettingLine {
  const char* keyword;
  FilterSettingBit bit;  // a setting the user fixed is never taken from a file
  double ProcessingSettings::*real;
  int ProcessingSettings::*length;
  int lo, hi;
};

inline constexpr SettingLine kSettingLines[] = {
    {"Allowed overshot(%)=", kFixOvershoot, &ProcessingSettings::AllowedOvershoot, nullptr, 0, 0},
    {"Moving average filtering length=", kFixMovAvg, nullptr, &ProcessingSettings::MovAvgLen,
     kMovAvgMin, kMovAvgMax},
    {"RPM threshold=", kFixThreshold, &ProcessingSettings::RPMthreshold, nullptr, 0, 0},
    {"Zero crossing filter length=", kFixZeroCross, nullptr, &ProcessingSettings::ZeroCrossLen,
     kZeroCrossMin, kZeroCrossMax},
};

// True when the line begins with the keyword (case-sensitive prefix match).
bool LineStartsWith(const char* line, size_t len, const char* keyword);

// The value of a "keyword value unit" line: the keyword removed from the
// front and as many characters as the unit has from the end (nothing left
// when fewer remain), the rest read as a decimal real.
double LineValue(const char* line, size_t len, const char* keyword, const char* unit);

// Copies at most cap-1 bytes of text into dst (zero-terminated); returns the count.
int CopyText(char* dst, int cap, const char* text, size_t len);

// Reads the parameter when the line begins with its keyword in the given
// form; false (nothing read) otherwise.
bool ReadParameterLine(HeaderParameters& params, const ParameterLine& pl, HeaderForm form,
                       const char* line, size_t len);

// Matches the setting's keyword and, while the header may set it, reads its
// value; false when the line does not begin with the keyword.
bool ReadSettingLine(ProcessingSettings& settings, const SettingLine& sl, const char* line,
                     size_t len);

}  // namespace tz
