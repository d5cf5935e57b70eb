#include "app/start_args.h"

#include <cctype>

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
// Position of the extension's dot, or npos when the file name has none.
size_t ExtensionDot(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
  return dot;
}
}  // namespace

InputKind InputKindFromPath(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return InputKind::Vbt;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const InputKindInfo& k : kInputKinds)
    if (ext == k.extension) return k.kind;
  return InputKind::Vbt;
}

std::string WithExtension(const std::string& path, const char* extension) {
  const size_t dot = ExtensionDot(path);
  return (dot == std::string::npos ? path : path.substr(0, dot)) + "." + extension;
}

}  // namespace tz
