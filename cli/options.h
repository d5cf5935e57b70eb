// Command line of the batch command.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "processing/codes.h"

namespace tz {

struct CliOptions {
  std::optional<InputKind> kind;  // none: from the extension of the input
  FftWindow window = FftWindow::Hamming;
  FftSource source = FftSource::Torque;
  std::optional<double> overshoot, threshold;
  std::optional<int> movAvg, zeroCross;
  bool json = false;
  bool quiet = false;
  std::string input, tdm, fdm;
};

enum class CliParse { kRun, kHelp, kUsageError };

// Parses the arguments (without the program name); on a usage error the
// reason is left in error.
CliParse ParseCliOptions(const std::vector<std::string>& args, CliOptions& out,
                         std::string& error);

// True for a plain decimal number: optional sign, digits with an optional point.
bool IsPlainDecimal(const std::string& text);

extern const char kCliUsage[];

}  // namespace tz
