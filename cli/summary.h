// Summaries of a run printed by the batch command.
#pragma once

#include <string>

namespace tz {

struct AnalysisRecord;
struct RunMarks;

// One JSON object: whether the run reached its end ("completed") and, when
// it did not, the message it failed with; then the run's counters,
// statistics and spectrum results, where values the run did not compute,
// and non-finite values, are null.
std::string JsonSummary(const AnalysisRecord& r, const RunMarks& m,
                        const std::string& failure = std::string());

// A few lines for a person: the statistics figures and the main results.
std::string HumanSummary(const AnalysisRecord& r, const RunMarks& m);

}  // namespace tz
