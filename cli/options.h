// Command line of the batch command.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tz {

struct CliOptions {
  int kind = -1;  // -1: from the extension of the input
  int window = 1;
  int source = 3;
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

// Kind of an input from its extension: .tdm 1, .fdm 2, anything else 0.
int KindFromExtension(const std::string& path);

// True for a plain decimal number: optional sign, digits with an optional point.
bool IsPlainDecimal(const std::string& text);

extern const char kCliUsage[];

}  // namespace tz
