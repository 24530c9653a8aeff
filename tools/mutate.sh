#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mutation testing: plants seeded mechanical mutants of src/ one at a time, rebuilds, runs the suite, logs each verdict.
#
# tools/mutate.sh [--tree DIR] [--seed S] [--sample N] [--only REGEX] [--log FILE] [--survivors FILE] [--id ID]...
#                  [--sanitize]
# tools/mutate.sh --list [--tree DIR] [--only REGEX]      every mutant: ID, original line, mutated line
# tools/mutate.sh --summary [--log FILE]                  the counts and kill rate of a log
#
#   --tree DIR        the checkout to mutate (default: this one); its files are changed in place and restored
#   --seed S          the seed of the sample (default 2026); --sample N how many (default 160; 0 = all)
#   --only REGEX      only files whose path (src/...) matches REGEX, before sampling
#   --id ID           run just this mutant (repeatable); IDs come from --list, the log or the sample
#   --log FILE        results TSV (default DIR/build-mutate/mutants.tsv); mutants already in it are skipped,
#                     so running again with the same log resumes an interrupted run
#   --survivors FILE  the survivors with their lines, appended as they appear (default: the log's name + .survivors)
#   --build DIR       the build directory (default DIR/build-mutate), configured once: Release -O1 -g0, no
#                     benchmarks or fuzzers, ccache, so restoring a file costs a cache hit
#   --sanitize        build under AddressSanitizer and UndefinedBehaviorSanitizer, as the test command's second
#                     pass does (default build DIR/build-mutate-asan): for survivors that read or write out of
#                     bounds, which only a sanitizer sees; run them again with --id and a log of their own
#
# Each mutant runs the tests that can reach its file: a mutant of src/app or src/ui the window's test programs,
# one of src/render vellora-render's tests, one of the core every test.
# Verdicts: killed (with the first failing test), timeout (counts as killed), survived, stillborn (does not build).
# Survivors judged equivalent go in tools/equivalent-mutants.txt (ID TAB reason); the summary leaves them out of
# the rate: kill rate = killed / (total - stillborn - equivalent). Mutant IDs are FILE:LINE:COLUMN:OPERATOR:TEXT;
# tools/mutants.py --help lists the operators.
set -uo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
GEN="$HERE/mutants.py"
EQUIVALENT="$HERE/equivalent-mutants.txt"

TREE=$(cd "$HERE/.." && pwd) SEED=2026 SAMPLE=160 ONLY="" LOG="" SURVIVORS="" BUILD="" MODE=run IDS=() SANITIZE=""
while (($#)); do
  case $1 in
    --tree) TREE=$(cd "$2" && pwd) || exit 2; shift 2 ;;
    --seed) SEED=$2; shift 2 ;;
    --sample) SAMPLE=$2; shift 2 ;;
    --only) ONLY=$2; shift 2 ;;
    --id) IDS+=("$2"); shift 2 ;;
    --log) LOG=$2; shift 2 ;;
    --survivors) SURVIVORS=$2; shift 2 ;;
    --build) BUILD=$2; shift 2 ;;
    --sanitize) SANITIZE=address,undefined; shift ;;
    --list) MODE=list; shift ;;
    --summary) MODE=summary; shift ;;
    -h|--help) sed -n '3,28p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
BUILD=${BUILD:-$TREE/build-mutate${SANITIZE:+-asan}}
LOG=${LOG:-$BUILD/mutants.tsv}
SURVIVORS=${SURVIVORS:-${LOG%.tsv}.survivors.tsv}
only=(); [[ -n $ONLY ]] && only=(--only "$ONLY")

case $MODE in
  list) exec python3 "$GEN" list --tree "$TREE" "${only[@]}" ;;
  summary) exec python3 "$GEN" summary --results "$LOG" --equivalent "$EQUIVALENT" ;;
esac

if ((${#IDS[@]} == 0)); then
  mapfile -t IDS < <(python3 "$GEN" sample --tree "$TREE" --seed "$SEED" --sample "$SAMPLE" "${only[@]}") || exit 2
fi
mkdir -p "$BUILD/mutant-logs" "$(dirname "$LOG")" "$(dirname "$SURVIVORS")"
[[ -s $LOG ]] || printf 'id\tresult\tdetail\tseconds\n' >"$LOG"
[[ -s $SURVIVORS ]] || printf 'id\toriginal\tmutated\tnote\n' >"$SURVIVORS"
PENDING="$BUILD/mutant-pending"   # the file under mutation and its original bytes, until restored

# Puts the mutated file back byte for byte, or stops everything.
restore() {
  [[ -f $PENDING/path ]] || return 0
  local target; target=$(<"$PENDING/path")
  cp -- "$PENDING/original" "$target" && cmp -s "$PENDING/original" "$target" ||
    { echo "could not restore $target: its original is in $PENDING/original" >&2; exit 3; }
  rm -rf -- "$PENDING"
}
trap restore EXIT
trap 'echo "interrupted" >&2; exit 130' INT TERM HUP
restore   # a run killed outright may have left a file mutated

# The test command's sanitizer settings: the first report fails the test.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1" LSAN_OPTIONS="suppressions=$HERE/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1"
build() { cmake --build "$BUILD" -j2 </dev/null >>"$1" 2>&1; }
# The suite, or with a second argument (a ctest -I list) the tests that can reach the mutated file.
suite() { ctest --test-dir "$BUILD" --stop-on-failure -j2 --timeout 120 ${2:+-I "$2"} </dev/null >>"$1" 2>&1; }

if [[ ! -f $BUILD/CMakeCache.txt ]]; then
  echo "configuring $BUILD..." >&2
  cmake -S "$TREE" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -g0" \
    -DVELLORA_BENCH=OFF -DVELLORA_FUZZ=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DVELLORA_SANITIZE="$SANITIZE" \
    >"$BUILD/mutant-logs/configure.log" 2>&1 ||
    { echo "configuring fails: see $BUILD/mutant-logs/configure.log" >&2; exit 1; }
fi
baseline="$BUILD/mutant-logs/baseline.log"; : >"$baseline"
echo "building and testing $TREE unmutated..." >&2
build "$baseline" || { echo "the unmutated build fails: see $baseline" >&2; exit 1; }
suite "$baseline" || { echo "the unmutated suite fails: see $baseline" >&2; exit 1; }
TESTS_JSON="$BUILD/mutant-logs/tests.json"
ctest --test-dir "$BUILD" --show-only=json-v1 >"$TESTS_JSON" 2>>"$baseline" ||
  { echo "ctest cannot list the tests: see $baseline" >&2; exit 1; }

started=$SECONDS done=0
for id in "${IDS[@]}"; do
  if awk -F'\t' -v id="$id" '$1 == id { found = 1 } END { exit !found }' "$LOG"; then continue; fi   # judged: resume
  path=${id%%:*}
  log="$BUILD/mutant-logs/$(printf '%s' "$id" | tr -c 'A-Za-z0-9._-' '_').log"; : >"$log"
  lines=$(python3 "$GEN" show --tree "$TREE" "$id") || { printf '%s\terror\tno such mutant\t0\n' "$id" >>"$LOG"; continue; }
  mkdir -p "$PENDING" && cp -- "$TREE/$path" "$PENDING/original" && printf '%s' "$TREE/$path" >"$PENDING/path" || exit 3
  t0=$SECONDS
  python3 "$GEN" apply --tree "$TREE" "$id" || { restore; exit 3; }
  detail=""
  if ! build "$log"; then result=stillborn
  elif suite "$log" "$(python3 "$GEN" tests --ctest-json "$TESTS_JSON" "$path")"; then result=survived
  else
    first=$(grep -m1 -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*' "$log")
    detail=$(sed -E 's/.*Test +#[0-9]+: ([^ ]+) .*/\1/' <<<"$first")
    if [[ $first == *Timeout* ]]; then result=timeout; else result=killed; fi
    [[ -z $detail ]] && detail="(suite failed; see $log)"
  fi
  restore
  printf '%s\t%s\t%s\t%s\n' "$id" "$result" "$detail" "$((SECONDS - t0))" >>"$LOG"
  [[ $result == survived ]] && printf '%s\t%s\t\n' "$id" "$lines" >>"$SURVIVORS"
  done=$((done + 1))
  echo "[$done] $id: $result $detail" >&2
done
echo "this run: $done mutants in $(((SECONDS - started) / 60)) min" >&2
python3 "$GEN" summary --results "$LOG" --equivalent "$EQUIVALENT" | tee -a "$BUILD/mutant-logs/summary.txt"
