#!/usr/bin/env bash
# Installs the Debian packages that building and testing Torzalen need, and
# only those that are missing. When nothing is missing it touches neither
# apt nor the network, so it also runs on a machine without one.
#
#   tools/install-deps.sh              compiler, CMake, make, Qt 6, a font, GoogleTest and
#                                      the tools that check the installed tree and the .deb
#   tools/install-deps.sh --no-tests   the same without GoogleTest and the test tools
#   tools/install-deps.sh --fuzz       also clang and its libFuzzer runtime
#
# Runs apt-get directly as root, through sudo otherwise.
set -euo pipefail

with_tests=1
with_fuzz=0
for arg in "$@"; do
  case "$arg" in
    --no-tests) with_tests=0 ;;
    --fuzz) with_fuzz=1 ;;
    -h|--help) sed -n '2,10s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "install-deps.sh: unknown argument '$arg' (try --help)" >&2; exit 2 ;;
  esac
done

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
# Tools count as present when they are on the PATH, whichever way they came.
for tool in g++ cmake make; do
  command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
# Libraries and data files: by package. The desktop program needs Qt 6
# Widgets and Print Support (qt6-base-dev), Qt 6 SVG for its pictures, and a
# font for its text; the tests need GoogleTest, and the checks
# of the installed tree and of the Debian package their validators: desktop
# entry, XML and MIME database, manual pages, dpkg-shlibdeps with `file`.
packages=(qt6-base-dev qt6-svg-dev fonts-dejavu-core)
if [ "$with_tests" -eq 1 ]; then
  packages+=(libgtest-dev desktop-file-utils libxml2-utils shared-mime-info groff-base dpkg-dev file)
fi
# Fuzzing: clang, and the runtime package of its version (libFuzzer).
if [ "$with_fuzz" -eq 1 ]; then
  packages+=(clang)
  if command -v clang >/dev/null 2>&1; then
    packages+=("libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev")
  fi
fi
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: all build dependencies are installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: not root and no sudo; as root run: apt-get install ${missing[*]}" >&2
    exit 1
  fi
  sudo=sudo
fi
# Waits for another apt or dpkg run to finish instead of failing at once.
lock=(-o DPkg::Lock::Timeout=600)
$sudo env DEBIAN_FRONTEND=noninteractive apt-get -q "${lock[@]}" update </dev/null
$sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -q --no-install-recommends "${lock[@]}" \
  install "${missing[@]}" </dev/null

for tool in g++ cmake make; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "install-deps: $tool is still missing after the install" >&2
    exit 1
  fi
done
# clang came with this install: its runtime package is named by its version.
if [ "$with_fuzz" -eq 1 ]; then
  rt="libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"
  if ! installed "$rt"; then
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get -y -q --no-install-recommends "${lock[@]}" \
      install "$rt" </dev/null
  fi
fi
