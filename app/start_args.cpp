#include "app/start_args.h"

#include <filesystem>
#include <system_error>

namespace tz {

const char kStartUsage[] =
    "Usage: torzalen [INPUT [TDM_OUT FDM_OUT]]\n"
    "Starts the desktop program. With INPUT (a VBT file, or a TDM or FDM file of\n"
    "an earlier run, by its extension) the file is opened at once; with both\n"
    "outputs too, it is processed at once, otherwise the program asks for them.\n"
    "\n"
    "Options:\n"
    "  -h, --help    print this text\n"
    "  --            every later argument is a file name\n";

StartParse ParseStartArgs(const std::vector<std::string>& args, StartArgs& out,
                          std::string& error) {
  std::vector<std::string> names;
  std::string unknown;
  bool options = true;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "-h" || a == "--help")) {
      return StartParse::kHelp;
    } else if (options && a.size() > 1 && a[0] == '-') {
      // Reported after the whole line is read: a later --help still wins.
      if (unknown.empty()) unknown = a;
    } else {
      names.push_back(a);
    }
  }
  if (!unknown.empty()) {
    error = "unknown option " + unknown;
    return StartParse::kUsageError;
  }
  if (names.size() == 2 || names.size() > 3) {
    error = "expected INPUT or INPUT TDM_OUT FDM_OUT, got " + std::to_string(names.size()) +
            " file names";
    return StartParse::kUsageError;
  }
  out = StartArgs{};
  if (names.size() >= 1) out.input = names[0];
  if (names.size() == 3) {
    out.tdm = names[1];
    out.fdm = names[2];
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
