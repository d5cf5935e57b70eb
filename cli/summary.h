// Summaries of a run printed by the batch command.
#pragma once

#include <string>

namespace tz {

struct AnalysisRecord;
struct RunMarks;

// One JSON object with the run's counters, statistics and spectrum results;
// values the run did not compute, and non-finite values, are null.
std::string JsonSummary(const AnalysisRecord& r, const RunMarks& m);

// A few lines for a person: the statistics figures and the main results.
std::string HumanSummary(const AnalysisRecord& r, const RunMarks& m);

}  // namespace tz
