#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and
# runs the whole test suite twice: in a release build, and in a debug build
# under AddressSanitizer (leak detection on) and UndefinedBehaviorSanitizer,
# where the desktop program's monkey test then runs for a minute
# (TZ_MONKEY_SECONDS, TZ_MONKEY_SEED); then each fuzz target for a minute
# (FUZZ_SECONDS).
# Takes well under half an hour on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh --fuzz

# The desktop program's tests run without a display.
export QT_QPA_PLATFORM=offscreen
jobs="${JOBS:-2}"
# Every option is given, so that a build tree configured otherwise before
# (tools/demo.sh turns the tests off in build/) builds and tests everything.
common=(-DTORZALEN_WERROR=ON -DTORZALEN_GUI=ON -DBUILD_TESTING=ON)
run_ctest() {  # build tree
  (cd "$1" && ctest --output-on-failure --no-tests=error --timeout 900 -j"$jobs")
}

echo "== Release build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTORZALEN_SANITIZE=OFF "${common[@]}"
cmake --build build -j"$jobs"
run_ctest build

# The leak check at a process's end scans each thread's dynamic TLS blocks.
# This toolchain's AddressSanitizer takes a block that lies 16 bytes past a
# page boundary for an old C library's layout and reads a size and start
# from the bytes before it: where a library loaded at run time (the JPEG
# library Qt's image plugins load when a PDF is written) has its block
# there, which happens in a few runs in a hundred on a loaded machine, the
# check itself crashes after every test passed.
# Its __tls_get_addr hook off, the check finds those blocks through the
# thread's own pointers to them, as it does any heap block.
sanitizer_env=(ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
               UBSAN_OPTIONS=print_stacktrace=1)

echo "== Sanitizer build"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTORZALEN_SANITIZE=ON "${common[@]}"
cmake --build build-sanitize -j"$jobs"
(export "${sanitizer_env[@]}" && run_ctest build-sanitize)

echo "== The desktop program's monkey test, a minute under the sanitizers"
(cd build-sanitize && env "${sanitizer_env[@]}" \
  TZ_MONKEY_SECONDS="${TZ_MONKEY_SECONDS:-60}" TZ_MONKEY_SEED="${TZ_MONKEY_SEED:-20240}" \
  ./app_tests --gtest_filter='Monkey.*')

echo "== Fuzzing, a minute per target"
bash tools/fuzz.sh "${FUZZ_SECONDS:-60}"
