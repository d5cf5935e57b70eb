#include "processing/codes.h"

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

}  // namespace tz
