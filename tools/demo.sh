#!/usr/bin/env bash
# Installs what is missing, builds, and processes the bundled demo measurement.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2 --target torzalen-cli
mkdir -p out
build/torzalen-cli samples/demo.VBT out/demo.TDM out/demo.FDM
echo "Outputs: out/demo.TDM out/demo.FDM"
