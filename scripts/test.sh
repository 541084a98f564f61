#!/usr/bin/env bash
# Builds everything and runs every test: once as a normal build, then the
# differential suite (the programs built for Windows with MinGW-w64 and run
# under Wine against the emulated phone), then every test again with
# AddressSanitizer and UndefinedBehaviorSanitizer (fails on any report).
# --quick runs the normal build only (for development).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
# run_suite DIR [CMAKE_ARGS...] [-- CTEST_ARGS...]
run_suite() {
  local dir=$1; shift
  local cmake_args=() ctest_args=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do cmake_args+=("$1"); shift; done
  [ $# -gt 0 ] && shift && ctest_args=("$@")
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_args[@]}" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300 "${ctest_args[@]}"
}

run_suite build
[ "${1:-}" = "--quick" ] && exit 0

bash scripts/wine_check.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The seven-day predictions run the phone for a week of virtual time each;
# under the sanitizers that alone would take longer than the rest of the run.
run_suite build-sanitize -DSELVANE_SANITIZE=ON -- -LE seven_days
# The import fuzz target, for a bounded time (skipped where clang is missing).
[ -x scripts/fuzz.sh ] && bash scripts/fuzz.sh -max_total_time=60
exit 0
