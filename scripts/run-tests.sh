#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up a fresh Debian 12 machine, builds Vellora with its tests and runs the whole test suite: once as
# built normally, once more under AddressSanitizer with UndefinedBehaviorSanitizer (build-asan), and the
# playback tests under ThreadSanitizer (build-tsan). Any sanitizer report fails the run. Then the Debian packaging's
# static checks: control file, the two packages' file lists, lintian on the source package, desktop entry, AppStream.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
# Line tables are debug information enough for a failing test; full debug information takes longer to build.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
cmake --build build
ctest --test-dir build --output-on-failure -j2

# Every report stops the test that caused it; the stack goes into the test's output.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1"
export TSAN_OPTIONS="halt_on_error=1:abort_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tools/tsan.supp"
# The sanitizer builds at -O1 with line tables only: they compile in about half the time of -O2 -g, and a report
# still names every function, file and line of its stack.
sanitizer_flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" -DVELLORA_BENCH=OFF)

cmake -S . -B build-asan -G Ninja "${sanitizer_flags[@]}" -DVELLORA_SANITIZE=address,undefined
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2

# Playback: the audio callback thread, the cursor it moves and the program's own loop around them; and the
# Import dialog, whose pictures are made on a thread of their own.
playback_tests="Playback|ImportDialog|Commands"
cmake -S . -B build-tsan -G Ninja "${sanitizer_flags[@]}" -DVELLORA_SANITIZE=thread
cmake --build build-tsan --target sound_tests app_tests
ctest --test-dir build-tsan --output-on-failure -j2 -R "$playback_tests"

# The Debian packaging, checked without building the packages (scripts/check-debian-packages.sh builds them).
scripts/check-debian-static.sh build
