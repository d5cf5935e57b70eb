#!/usr/bin/env bash
# Checks the layers of the core: processing/ (time domain) includes only
# itself; spectrum/ adds processing/; reprocess/ adds spectrum/; run/ may use
# all three. No core folder includes Qt or a front end.
set -euo pipefail
root="${1:-$(dirname "$0")/..}"
status=0
check() {  # folder, allowed include prefixes
  local folder="$1"; shift
  local allowed="$*"
  while IFS= read -r line; do
    local file="${line%%:*}" inc
    inc=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$line")
    local ok=0
    for a in $allowed; do [[ "$inc" == "$a"/* ]] && ok=1; done
    if [ $ok -eq 0 ]; then echo "layer violation: $file includes \"$inc\""; status=1; fi
  done < <(grep -Hn '#include "' "$root/$folder"/*.h "$root/$folder"/*.cpp 2>/dev/null || true)
  if grep -Hn '#include <Q' "$root/$folder"/*.h "$root/$folder"/*.cpp 2>/dev/null; then
    echo "layer violation: Qt in $folder/"; status=1
  fi
}
check processing processing
check spectrum processing spectrum
check reprocess processing spectrum reprocess
check run processing spectrum reprocess run
[ $status -eq 0 ] && echo "core layering: ok"
exit $status
