#!/usr/bin/env bash
# The pictures of the README: the demo recording samples/demo.VBT processed
# by the desktop program without a window (torzalen --export), its three
# graphs and its spectrum drawn as the window shows them at 1200 x 750, into
# docs/three.png and docs/fft.png. Run it after a change that moves a pixel,
# and commit the pictures with the change.
#
#   tools/readme-pictures.sh
#
# Uses the build tree BUILD_DIR (default build/), which must be configured with
# the desktop program; builds what it needs. Needs no display.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"

cmake --build "$build" -j"${JOBS:-2}" --target torzalen
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p docs
"$build/torzalen" --size 1200x750 --export three=docs/three.png --export fft=docs/fft.png \
  samples/demo.VBT "$tmp/demo.TDM" "$tmp/demo.FDM"
ls -l docs/three.png docs/fft.png
