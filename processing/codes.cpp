#include "processing/codes.h"

#include <cctype>
#include <filesystem>

namespace tz {

const FftWindowInfo& InfoOf(FftWindow w) {
  for (const auto& i : kFftWindows)
    if (i.window == w) return i;
  return kFftWindows[0];
}

// An unknown source reads as filtered torque, as the run treats it.
constexpr size_t kUnknownSourceEntry = 3;
static_assert(kFftSources[kUnknownSourceEntry].source == FftSource::Torque);

const FftSourceInfo& InfoOf(FftSource s) {
  for (const auto& i : kFftSources)
    if (i.source == s) return i;
  return kFftSources[kUnknownSourceEntry];
}

const InputKindInfo& InfoOf(InputKind k) {
  for (const auto& i : kInputKinds)
    if (i.kind == k) return i;
  return kInputKinds[0];
}

size_t ExtensionDot(const std::string& path) {
  // The last dot of the file name; unlike std::filesystem's extension(), a
  // name that is all extension (".TDM") has one.
  const std::string name = std::filesystem::path(path).filename().string();
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string::npos : path.size() - name.size() + dot;
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
