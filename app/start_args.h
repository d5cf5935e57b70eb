// The command line of the desktop program: torzalen [INPUT [TDM_OUT FDM_OUT]].
// Read in plain code before the application object exists, so that --help
// and a wrong argument are answered with or without a display.
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

// Parses the arguments (without the program name). "-h" or "--help" before
// "--" asks for the usage; any other argument that starts with '-' before
// "--" is an unknown option; after "--" every argument is a file name. On a
// usage error, error says what is wrong.
StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out,
                          std::string& error);

// Makes the given names absolute against the current folder, so that a
// later run finds the same files (empty names stay empty).
void MakeNamesAbsolute(StartArgs& args);

// The path with its extension replaced ("a/b.VBT", "TDM" -> "a/b.TDM"); a
// path without one gets it appended.
std::string WithExtension(const std::string& path, const char* extension);

extern const char kStartUsage[];

}  // namespace tz
