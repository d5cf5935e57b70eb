// The command line of the desktop program: torzalen [INPUT [TDM_OUT FDM_OUT]].
#pragma once

#include <string>
#include <vector>

#include "processing/codes.h"

namespace tz {

struct StartArgs {
  std::string input;  // empty: start without a file
  std::string tdm, fdm;  // both empty: ask for them
};

enum class StartParse { kRun, kHelp, kUsageError };

// Parses the arguments (without the program name).
StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out);

// Makes the given names absolute against the current folder, so that a
// later run finds the same files (empty names stay empty).
void MakeNamesAbsolute(StartArgs& args);

// The path with its extension replaced ("a/b.VBT", "TDM" -> "a/b.TDM"); a
// path without one gets it appended.
std::string WithExtension(const std::string& path, const char* extension);

extern const char kStartUsage[];

}  // namespace tz
