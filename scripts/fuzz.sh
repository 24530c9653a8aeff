#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer into build-fuzz
# and runs each for a bounded time, from its generated seeds; what it finds goes to build-fuzz/findings.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target ...]
# (targets: image_file settings_file band_points sound_file midi_file; FUZZ_JOBS=N runs N workers per target).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then targets=(image_file settings_file band_points sound_file midi_file); fi

if ! command -v clang++ >/dev/null || ! clang++ -fsanitize=fuzzer -x c++ - -o /dev/null <<<'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' 2>/dev/null; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then as_root=(sudo); fi
  DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y --no-install-recommends clang libclang-rt-dev
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DVELLORA_FUZZ=ON -DVELLORA_TESTS=OFF >/dev/null
cmake --build build-fuzz --target fuzz_seeds $(printf 'fuzz_%s ' "${targets[@]}")

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
status=0
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  findings="build-fuzz/findings/$target"
  mkdir -p "$corpus" "$findings"
  echo "== $target: $seconds s"
  # New inputs go to corpus/ (kept between runs); the generated seeds are read as a second folder.
  rc=0
  build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$findings/" ${FUZZ_JOBS:+-jobs=$FUZZ_JOBS -workers=$FUZZ_JOBS} \
    "$corpus" "build-fuzz/fuzz/seeds/$target" >"build-fuzz/$target.log" 2>&1 || rc=$?
  grep -E "INITED|DONE|ERROR|SUMMARY|stat::number_of_executed_units|stat::peak_rss" "build-fuzz/$target.log" || true
  if [ "$rc" -ne 0 ]; then
    echo "$target stopped with status $rc: see build-fuzz/$target.log and $findings/"
    status=1
  fi
done
exit $status
