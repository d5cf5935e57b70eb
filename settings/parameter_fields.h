// What the system parameters dialog shows: one row per box, in the order of
// the dialog, with the text of its value. Data, not widgets.
#pragma once

#include <span>
#include <string>

#include "processing/analysis_record.h"

namespace tz {

struct ParameterField {
  const char* group;  // caption of the group box that holds the row
  const char* label;
  int id;             // identifier of the value box
  std::string (*text)(const AnalysisRecord&);
};

// The twelve rows, grouped: "System parameters", "Shaft parameters",
// "Discs parameters", "Preprocessor parameters".
std::span<const ParameterField> ParameterFields();

// A text of the record as stored: len bytes (at most capacity - 1), up to the
// first zero byte.
std::string StoredText(const char* text, int len, int capacity);

}  // namespace tz
