#!/usr/bin/env bash
# Runs the README's commands for many files, as a user would paste them, on
# generated recordings with awkward names, and checks every output against a
# single run of the batch command on the same input, byte for byte, and the
# exit statuses the README promises. The Slurm job array runs its script
# once per task through a stand-in for sbatch; the GNU parallel command runs
# when parallel is installed.
#
#   many_files_test.sh README.md BIN_DIR VBTGEN
set -euo pipefail
readme="$1"
bin="$2"
vbtgen="$3"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
export PATH="$bin:$PATH"

block() {  # name -> the fenced block after the README's <!-- many-files:NAME --> mark
  awk -v mark="<!-- many-files:$1 -->" '
    $0 == mark { found = 1; next }
    found == 1 && /^```/ { found = 2; next }
    found == 2 && /^```/ { exit }
    found == 2 { print }' "$readme"
}
for name in xargs parallel slurm-script slurm-submit; do
  [ -n "$(block "$name")" ] || fail "README.md has no many-files:$name block"
done
[ "$status" -eq 0 ] || exit 1

# Three recordings, each its own measurement; names with a blank, quotes and
# a line break, one in a folder with a blank.
names=("recordings/run 1.VBT" $'recordings/day 2/it\'s "odd"\n.vbt' "recordings/day 2/r3.Vbt")
make_recordings() {  # dir
  local i=0 f
  for f in "${names[@]}"; do
    i=$((i + 1))
    mkdir -p "$1/$(dirname "$f")"
    "$vbtgen" --samples 3000 --seed "$i" --rpm $((2000 + 500 * i)) -o "$1/$f"
  done
}
# The reference: one run of each input on its own, outputs under plain names.
make_recordings "$tmp/single"
for i in "${!names[@]}"; do
  (cd "$tmp/single" &&
   torzalen-cli -q -- "${names[$i]}" "ref$i.TDM" "ref$i.FDM" >"ref$i.log" 2>&1) ||
    fail "the single run of input $i failed"
done
[ "$status" -eq 0 ] || exit 1

check_outputs() {  # dir label
  local i f b ext
  for i in "${!names[@]}"; do
    f="$1/${names[$i]}"
    b="${f%.*}"
    for ext in TDM FDM log; do
      if [ ! -f "$b.$ext" ]; then
        fail "$2: no $ext beside input $i"
      elif ! cmp -s "$b.$ext" "$tmp/single/ref$i.$ext"; then
        fail "$2: the $ext of input $i differs from its single run"
      fi
    done
  done
}
add_broken() {  # dir: a recording that cannot be processed
  printf 'not a recording\r\n' >"$1/recordings/broken one.VBT"
}
check_broken() {  # dir label
  [ ! -e "$1/recordings/broken one.TDM" ] && [ ! -e "$1/recordings/broken one.FDM" ] ||
    fail "$2: the failed run left outputs"
  grep -q 'Header invalid or not found' "$1/recordings/broken one.log" ||
    fail "$2: the failed run's log lacks its message"
}
run_block() {  # dir name -> the block's exit status; its stderr in dir/stderr
  local rc=0
  (cd "$1" && bash -c "$(block "$2")") 2>"$1/stderr" || rc=$?
  return "$rc"
}

# --- xargs: status 0, outputs as single runs; with a broken input, 123 and
# the failure named, the others still right.
d="$tmp/xargs"
make_recordings "$d"
rc=0; run_block "$d" xargs || rc=$?
[ "$rc" -eq 0 ] || fail "xargs: status $rc with good inputs: $(cat "$d/stderr")"
check_outputs "$d" xargs
rm -f "$d"/recordings/*.{TDM,FDM,log} "$d"/recordings/*/*.{TDM,FDM,log}
add_broken "$d"
rc=0; run_block "$d" xargs || rc=$?
[ "$rc" -eq 123 ] || fail "xargs: status $rc with a broken input, not 123"
grep -qxF "failed: recordings/broken one.VBT (see recordings/broken one.log)" "$d/stderr" ||
  fail "xargs: the failure is not named: $(cat "$d/stderr")"
check_outputs "$d" "xargs with a broken input"
check_broken "$d" xargs

# --- Slurm: the submission lines, with sbatch standing in for the cluster by
# running the script once per index of --array, in order.
d="$tmp/slurm"
make_recordings "$d"
add_broken "$d"
block slurm-script >"$d/torzalen-array.sh"
mkdir -p "$tmp/fakebin"
cat >"$tmp/fakebin/sbatch" <<'EOF'
#!/usr/bin/env bash
# Stand-in for Slurm's sbatch: runs SCRIPT once per task of --array=FIRST-LAST,
# and records each task's exit status in sbatch.status.
set -u
range=${1#--array=}
script=$2
for ((i = ${range%-*}; i <= ${range#*-}; i++)); do
  rc=0
  SLURM_ARRAY_TASK_ID=$i bash "$script" || rc=$?
  echo "$i $rc" >>sbatch.status
done
EOF
chmod +x "$tmp/fakebin/sbatch"
rc=0; (cd "$d" && PATH="$tmp/fakebin:$PATH" bash -c "$(block slurm-submit)") 2>"$d/stderr" || rc=$?
[ "$rc" -eq 0 ] || fail "slurm: the submission failed with $rc: $(cat "$d/stderr")"
[ "$(wc -l <"$d/sbatch.status")" -eq 4 ] || fail "slurm: $(wc -l <"$d/sbatch.status") tasks, not 4"
check_outputs "$d" slurm
check_broken "$d" slurm
# The broken input's task, and only it, failed with the command's status 1.
mapfile -d '' listed <"$d/torzalen-inputs"
while read -r task rc; do
  want=0
  [ "${listed[$task]}" = "recordings/broken one.VBT" ] && want=1
  [ "$rc" -eq "$want" ] || fail "slurm: task $task (${listed[$task]}) ended with $rc, not $want"
done <"$d/sbatch.status"

# --- GNU parallel: status 1 for the one broken input, outputs as single runs.
if command -v parallel >/dev/null 2>&1 && parallel --version 2>/dev/null | grep -q 'GNU parallel'; then
  d="$tmp/parallel"
  make_recordings "$d"
  add_broken "$d"
  rc=0; run_block "$d" parallel || rc=$?
  [ "$rc" -eq 1 ] || fail "parallel: status $rc with one broken input, not 1"
  check_outputs "$d" parallel
  check_broken "$d" parallel
  [ "$(awk -F'\t' 'NR > 1 && $7 != 0' "$d/torzalen-runs.tsv" | wc -l)" -eq 1 ] ||
    fail "parallel: the job log does not show one failed run"
else
  echo "note: GNU parallel is not installed; its README command was not run"
fi

[ "$status" -eq 0 ] && echo "many files: ok"
exit "$status"
