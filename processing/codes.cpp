#include "processing/codes.h"

#include <cctype>

namespace tz {

const FftWindowInfo& InfoOf(FftWindow w) {
  for (const auto& i : kFftWindows)
    if (i.window == w) return i;
  return kFftWindows[0];
}

const FftSourceInfo& InfoOf(FftSource s) {
  for (const auto& i : kFftSources)
    if (i.source == s) return i;
  return kFftSources[3];
}

const InputKindInfo& InfoOf(InputKind k) {
  for (const auto& i : kInputKinds)
    if (i.kind == k) return i;
  return kInputKinds[0];
}

size_t ExtensionDot(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return std::string::npos;
  return dot;
}

InputKind KindFromExtension(const std::string& path) {
  const size_t dot = ExtensionDot(path);
  if (dot == std::string::npos) return InputKind::Vbt;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const auto& k : kInputKinds)
    if (ext == k.extension) return k.kind;
  return InputKind::Vbt;
}

}  // namespace tz
