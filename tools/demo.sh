#!/usr/bin/env bash
# Installs what is missing (GoogleTest is not needed here), builds the batch
# command and the desktop program, processes the bundled demo measurement
# samples/demo.VBT into out/, and shows the result in the desktop program
# when a display is available.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh --no-tests

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF

# True when the build tree has a target of that name. The list is read whole
# first: grep -q stops early, and with pipefail the writer's broken pipe
# would count as "no such target".
has_target() {
  local list
  if [ -f build/build.ninja ]; then
    list=$(ninja -C build -t targets all 2>/dev/null || true)
    grep -q "^$1:" <<<"$list"
  else
    list=$(cmake --build build --target help 2>/dev/null || true)
    grep -Eq "^\.\.\. $1( |\$)" <<<"$list"
  fi
}

targets=(torzalen-cli)
gui=0
if has_target torzalen; then
  targets+=(torzalen)
  gui=1
fi
cmake --build build -j2 --target "${targets[@]}"

mkdir -p out
echo
echo "== build/torzalen-cli samples/demo.VBT out/demo.TDM out/demo.FDM"
build/torzalen-cli samples/demo.VBT out/demo.TDM out/demo.FDM

echo
echo "== Outputs"
ls -l out/demo.TDM out/demo.FDM
echo
echo "Fundamental and harmonics of the spectrum (line, Hz, magnitude):"
tr -d '\r' <out/demo.FDM | grep -aE ', (Fundamental|Armonic n [2-4])$' | sed 's/^/  /' || true

open_cmd=(build/torzalen samples/demo.VBT out/demo.TDM out/demo.FDM)
echo
if [ "$gui" -eq 1 ] && [ -x build/torzalen ]; then
  if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "== Opening ${open_cmd[*]}"
    exec "${open_cmd[@]}"
  fi
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set). To look at the"
  echo "result in the desktop program, run on a desktop:"
  echo "  ${open_cmd[*]}"
else
  echo "The desktop program is not part of this build, so only the batch command ran."
  echo "Once it is built, open the result with:"
  echo "  ${open_cmd[*]}"
fi
