#!/usr/bin/env bash
# Pictures of every window, dialog, panel and display of the desktop program
# (each display choice and FFT option at 1600 x 1000 and 750 x 530, after a
# run of samples/demo.VBT, with markers placed, zoomed and scrolled), written
# as PNG files into OUTDIR. With REFERENCE, every picture is then compared
# pixel for pixel with the one of the same name there: the script fails when
# any differs or is missing on either side.
#
#   tools/screenshots.sh OUTDIR [REFERENCE]
#
# Uses the build tree BUILD_DIR (default build/), which must be configured with
# the desktop program; builds what it needs.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: tools/screenshots.sh OUTDIR [REFERENCE]" >&2
  exit 2
fi
out=$(realpath -m "$1")
ref=${2:+$(realpath -m "$2")}
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"

cmake --build "$build" -j"${JOBS:-2}" --target torzalen-screenshots vbtgen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A run whose speed varies too much: its warning is pictured over the graphs.
"$build/vbtgen" --reverse --samples 100000 -o "$tmp/long.VBT"
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/torzalen-screenshots" "$out" samples/demo.VBT "$tmp/long.VBT"
echo "pictures in $out"
if [ -n "$ref" ]; then
  "$build/torzalen-screenshots" --compare "$ref" "$out"
fi
