#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Mutation testing: applies each fault of tools/mutations.txt in turn, rebuilds, and reports which ones the tests catch.
#
# tools/mutate.sh [BUILD_DIR] [ID...]   BUILD_DIR defaults to build-mutate; without IDs every mutation runs.
# tools/mutate.sh --check               only checks that every original text occurs exactly once; builds nothing.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

# The list handling, in Python for exact byte-level text replacement.
#   check            every entry well formed, ids unique, each original found exactly once
#   plan [ID...]     one line per mutation: id TAB OK|SKIPPED TAB file|reason TAB description
#   apply ID FILE    replaces the one occurrence of ID's original text in FILE
mutations() {
  python3 - "$@" <<'PY'
import os, sys
def load():
    entries = []
    for number, line in enumerate(open("tools/mutations.txt", encoding="utf-8"), 1):
        if not line.strip() or line.lstrip().startswith("#"): continue
        fields = [f.strip() for f in line.rstrip("\n").split("|~|")]
        if len(fields) != 5 or not all(fields[:3]):
            sys.exit(f"tools/mutations.txt:{number}: needs five fields (id, file, original, replacement, description)")
        entries.append(fields)
    return entries
def count(path, text):
    with open(path, "rb") as f: return f.read().count(text.encode())
def locate(path, original):
    """The file holding the original exactly once: the named one, else a unique place in src/."""
    if os.path.isfile(path):
        n = count(path, original)
        if n == 1: return path, None
        if n > 1: return None, f"original occurs {n} times in {path}"
    hits = [(p, count(p, original)) for d, _, files in os.walk("src") for p in (os.path.join(d, f) for f in sorted(files))]
    hits = [(p, n) for p, n in hits if n]
    if len(hits) == 1 and hits[0][1] == 1: return hits[0][0], None
    where = f"not in {path}" if os.path.isfile(path) else f"{path} is gone"
    return None, f"{where}; found {sum(n for _, n in hits)} times in src/"
command, args = sys.argv[1], sys.argv[2:]
entries = load()
by_id = {e[0]: e for e in entries}
if command == "check":
    problems = [f"duplicate id {i}" for i in by_id if [e[0] for e in entries].count(i) > 1]
    for mid, path, original, replacement, _ in entries:
        found, reason = locate(path, original)
        if not found: problems.append(f"{mid}: {reason}")
        elif found != path: problems.append(f"{mid}: moved to {found}")
        if original == replacement: problems.append(f"{mid}: replacement equals the original")
    print("\n".join(problems) or f"{len(entries)} mutations, each original found exactly once in its file")
    sys.exit(1 if problems else 0)
elif command == "plan":
    for mid in args or [e[0] for e in entries]:
        if mid not in by_id: print(f"{mid}\tSKIPPED\tno such id\t-"); continue
        _, path, original, _, description = by_id[mid]
        found, reason = locate(path, original)
        print(f"{mid}\tOK\t{found}\t{description}" if found else f"{mid}\tSKIPPED\t{reason}\t{description}")
elif command == "apply":
    mid, path = args
    original, replacement = by_id[mid][2].encode(), by_id[mid][3].encode()
    with open(path, "rb") as f: data = f.read()
    if data.count(original) != 1: sys.exit(f"{mid}: original not found exactly once in {path}")
    with open(path, "wb") as f: f.write(data.replace(original, replacement, 1))
PY
}

if [[ ${1:-} == --check ]]; then mutations check; exit; fi
[[ ${1:-} == -h || ${1:-} == --help ]] && { sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'; exit 0; }
BUILD=${1:-build-mutate}
shift $(( $# > 0 ? 1 : 0 ))
mutations check >/dev/null || echo "note: tools/mutate.sh --check reports problems; those mutations will be skipped" >&2
PLAN=$(mutations plan "$@") || exit 1
mkdir -p "$BUILD/mutation-logs"
PENDING="$BUILD/mutation-pending"   # the file being mutated and its original bytes, until restored

# Puts the mutated file back byte for byte; a new modification time makes the next build recompile it.
restore() {
  [[ -f $PENDING/path ]] || return 0
  local target; target=$(<"$PENDING/path")
  cat "$PENDING/original" >"$target" && cmp -s "$PENDING/original" "$target" || { echo "could not restore $target" >&2; exit 2; }
  rm -rf "$PENDING"
}
trap restore EXIT
trap 'echo "interrupted" >&2; exit 130' INT TERM
restore   # a run that was killed outright may have left a file mutated

build() { cmake --build "$BUILD" -j2 </dev/null >>"$1" 2>&1; }
suite() { ctest --test-dir "$BUILD" -j2 --timeout 120 --output-on-failure </dev/null >>"$1" 2>&1; }

echo "configuring and building $BUILD unmutated..." >&2
baseline="$BUILD/mutation-logs/baseline.log"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$baseline" 2>&1 && build "$baseline" ||
  { echo "the unmutated build fails: see $baseline" >&2; exit 1; }
suite "$baseline" || { echo "the unmutated suite fails: see $baseline" >&2; exit 1; }

caught=0 survived=0 invalid=0 skipped=0 table=""
while IFS=$'\t' read -r -u 3 id status where description; do
  [[ -z $id ]] && continue
  if [[ $status == SKIPPED ]]; then
    verdict=SKIPPED description="$description ($where)"; ((skipped++))
  else
    echo "[$id] $where: $description" >&2
    log="$BUILD/mutation-logs/$id.log"; : >"$log"
    mkdir -p "$PENDING" && cp -- "$where" "$PENDING/original" && printf '%s' "$where" >"$PENDING/path" || exit 2
    mutations apply "$id" "$where" || { restore; exit 2; }
    if ! build "$log"; then verdict=INVALID; ((invalid++))
    elif suite "$log"; then verdict=SURVIVED; ((survived++))
    else verdict=CAUGHT; ((caught++))
    fi
    restore
    echo "[$id] $verdict" >&2
  fi
  table+=$(printf '%-28s %-9s %s' "$id" "$verdict" "$description")$'\n'
done 3<<<"$PLAN"

{
  printf '%-28s %-9s %s\n' ID VERDICT DESCRIPTION
  printf '%s' "$table"
  echo "caught $caught of $((caught + survived)) valid mutations ($invalid invalid, $skipped skipped)"
} | tee "$BUILD/mutation-report.txt"
