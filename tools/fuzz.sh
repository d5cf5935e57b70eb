#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer, float-cast-overflow included), replays the
# regression inputs kept in fuzz/corpus/, then fuzzes each target for the
# given number of seconds (default 60), seeded from generated measurements
# and their outputs. A crash stops the script with the target's report; the
# input it names belongs in fuzz/corpus/<target>/ once fixed.
#
#   tools/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
secs="${1:-60}"
jobs="${JOBS:-2}"
targets=(vbt_run tdm_run fdm_run format_sig10)

bash tools/install-deps.sh --fuzz
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTORZALEN_FUZZ=ON -DTORZALEN_GUI=OFF -DBUILD_TESTING=OFF -DTORZALEN_WERROR=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target vbtgen torzalen-cli "${targets[@]/%/_fuzz}"

# Seeds: small measurements of each shape, and the outputs of their runs.
seeds=build-fuzz/seeds
rm -rf "$seeds" && mkdir -p "$seeds"/{vbt_run,tdm_run,fdm_run,format_sig10}
gen=build-fuzz/vbtgen
"$gen" --samples 300 -o "$seeds/vbt_run/steady.VBT"
"$gen" --samples 400 --seed 7 --reverse -o "$seeds/vbt_run/reverse.VBT"
"$gen" --samples 300 --seed 3 --run-up 100 -o "$seeds/vbt_run/runup.VBT"
for f in "$seeds"/vbt_run/*.VBT; do
  n=$(basename "$f" .VBT)
  ASAN_OPTIONS=detect_leaks=0 build-fuzz/torzalen-cli -q "$f" "$seeds/tdm_run/$n.TDM" \
    "$seeds/fdm_run/$n.FDM" >/dev/null 2>&1 || true
done
printf '\x00\x00\x00\x00\x00\x00\xf0\x3f' >"$seeds/format_sig10/one"

export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for t in "${targets[@]}"; do
  mkdir -p "fuzz/corpus/$t"
  work="build-fuzz/corpus/$t"
  mkdir -p "$work"
  cp -n "$seeds/$t"/* "$work"/ 2>/dev/null || true
  echo "== $t: regression inputs"
  "build-fuzz/${t}_fuzz" -runs=0 "fuzz/corpus/$t" 2>&1 | tail -n 2
  echo "== $t: fuzzing for ${secs}s"
  log="build-fuzz/$t.log"
  if ! "build-fuzz/${t}_fuzz" -max_total_time="$secs" -max_len=65536 -timeout=20 \
      -rss_limit_mb=3072 -print_final_stats=1 -artifact_prefix="build-fuzz/$t-" \
      "$work" "fuzz/corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz.sh: $t failed; its input is under build-fuzz/$t-*" >&2
    exit 1
  fi
  grep -E "stat::number_of_executed_units|stat::new_units_added" "$log" | sed "s/^/  $t /"
done
