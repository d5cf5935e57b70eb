#!/usr/bin/env bash
# Checks the layers of the whole program: a folder includes only itself and
# the folders below it, and only the Qt folders include Qt.
#
#   app/                               the desktop program's shell
#   display/  settings/  cli/          graphs and panels; settings dialogs; the batch command
#   ui/                                what the Qt folders share
#   run/                               one processing run
#   reprocess/ > spectrum/ > processing/   the core, each above the one after it
#
# display/ and settings/ include neither app/ nor each other; cli/ includes
# the core only. Usage: tools/check-layers.sh [ROOT] (default: this tree).
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
status=0

core="processing spectrum reprocess run"
# folder | folders it may include | may include Qt
layers=(
  "processing|processing|no"
  "spectrum|processing spectrum|no"
  "reprocess|processing spectrum reprocess|no"
  "run|$core|no"
  "cli|$core cli|no"
  "ui|$core ui|yes"
  "display|$core ui display|yes"
  "settings|$core ui settings|yes"
  "app|$core ui display settings app|yes"
)

check() {  # folder, allowed folders, qt (yes/no)
  local folder="$1" allowed="$2" qt="$3"
  local files=("$root/$folder"/*.h "$root/$folder"/*.cpp)
  local quoted='#[[:space:]]*include[[:space:]]*"([^"]+)"'
  while IFS= read -r line; do
    local file="${line%%:*}" inc="" ok=0
    [[ "$line" =~ $quoted ]] && inc="${BASH_REMATCH[1]}"
    for a in $allowed; do [[ "$inc" == "$a"/* ]] && ok=1; done
    if [ $ok -eq 0 ]; then echo "layer violation: $file includes \"$inc\""; status=1; fi
  done < <(grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "${files[@]}" 2>/dev/null || true)
  if [ "$qt" = no ]; then
    while IFS= read -r line; do
      echo "layer violation: Qt in $folder/: ${line%%:*}"; status=1
    done < <(grep -Hn '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "${files[@]}" 2>/dev/null || true)
  fi
}

for layer in "${layers[@]}"; do
  IFS='|' read -r folder allowed qt <<<"$layer"
  if [ ! -d "$root/$folder" ]; then echo "layer violation: no folder $folder/"; status=1; continue; fi
  check "$folder" "$allowed" "$qt"
done
[ $status -eq 0 ] && echo "layering: ok"
exit $status
