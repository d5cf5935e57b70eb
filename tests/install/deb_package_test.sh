#!/usr/bin/env bash
# Builds the Debian package of a build tree with `cpack -G DEB` and checks it:
# the files under /usr are those the install rules put under a prefix, the
# control fields name the package, its version and section, and Depends names
# the Debian packages that hold the libraries the programs link, each one a
# package this system knows.
#
#   deb_package_test.sh BUILD_DIR GUI(ON|OFF) VERSION
# Exit status: 0 passed, 1 failed, 77 skipped (a tool is not installed).
set -euo pipefail
build="$1"
gui="$2"
version="$3"

for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-query file; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (tools/install-deps.sh installs it)"
    exit 77
  fi
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/pkg" >"$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
debs=("$tmp"/pkg/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: no single .deb: ${debs[*]}"; exit 1; }
deb="${debs[0]}"
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "torzalen_${version}_${arch}.deb" ] || fail "package file $(basename "$deb")"

# --- Files: the tree `cmake --install` makes, under /usr, with the same modes.
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
(cd "$tmp/prefix" && find . -type d -printf '%M ./usr/%P/\n' -o -printf '%M ./usr/%P\n') |
  sed 's|/usr//$|/usr/|' | LC_ALL=C sort >"$tmp/expected"
dpkg-deb -c "$deb" | awk '{ print $1, $6 }' | LC_ALL=C sort >"$tmp/actual"
diff -u "$tmp/expected" "$tmp/actual" || fail "the package's files differ (- installed tree, + package)"
dpkg-deb -c "$deb" | awk '$2 != "root/root" { print "FAIL: owner of " $6 " is " $2; bad=1 } END { exit bad }' ||
  status=1

# --- Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = torzalen ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = science ] || fail "Section: $(field Section)"
grep -qE '^[^<]+ <[^@> ]+@[^> ]+>$' <<<"$(field Maintainer)" || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description | sed -n 2p)" ] || fail "the description has no long text"

depends=$(field Depends)
echo "Depends: $depends"
mapfile -t names < <(tr ',' '\n' <<<"$depends" | sed -E 's/\(.*\)//; s/\|.*//; s/ //g' | sed '/^$/d')
required=(libc6 libstdc++6)
[ "$gui" = ON ] && required+=(libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins)
for p in "${required[@]}"; do
  printf '%s\n' "${names[@]}" | grep -qx "$p" || fail "Depends lacks $p"
done
for p in "${names[@]}"; do
  dpkg-query -W "$p" >/dev/null 2>&1 || fail "Depends names $p, which no Debian package here is called"
  case "$p" in *-dev) fail "Depends names the development package $p" ;; esac
done

[ "$status" -eq 0 ] && echo "deb package: ok"
exit "$status"
