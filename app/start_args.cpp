#include "app/start_args.h"

#include <filesystem>
#include <system_error>

namespace tz {

const char kStartUsage[] =
    "Usage: torzalen [INPUT [TDM_OUT FDM_OUT]]\n"
    "Starts the desktop program. With INPUT (a VBT file, or a TDM or FDM file of\n"
    "an earlier run, by its extension) the file is opened at once; with both\n"
    "outputs too, it is processed at once, otherwise the program asks for them.\n";

StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out) {
  for (const std::string& a : args)
    if (a == "-h" || a == "--help") return StartParse::kHelp;
  if (args.size() != 0 && args.size() != 1 && args.size() != 3) return StartParse::kUsageError;
  out = StartArgs{};
  if (args.size() >= 1) out.input = args[0];
  if (args.size() == 3) {
    out.tdm = args[1];
    out.fdm = args[2];
  }
  return StartParse::kRun;
}

namespace {

// The current folder before a relative name, and nothing else changed: a
// ".." after a link is the folder above the one the link names, which only
// the system can tell, when it opens the file.
std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  const std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.string();
}

}  // namespace

void MakeNamesAbsolute(StartArgs& args) {
  args.input = Absolute(args.input);
  args.tdm = Absolute(args.tdm);
  args.fdm = Absolute(args.fdm);
}

std::string WithExtension(const std::string& path, const char* extension) {
  const size_t dot = ExtensionDot(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + "." + extension;
}

}  // namespace tz
