#!/usr/bin/env bash
# Builds the fuzz target of the mode text import with clang's libFuzzer and
# AddressSanitizer (in build-fuzz) and runs it, for 60 seconds by default or
# with the libFuzzer options given (e.g. -runs=1000000). Skipped, not failed,
# where clang or its fuzzer runtime is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1 || ! command -v clang >/dev/null 2>&1; then
  echo "fuzz: clang is not installed; fuzzing skipped" >&2
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1; then
  echo "fuzz: clang's libFuzzer runtime (libclang-rt-14-dev) is missing; fuzzing skipped" >&2
  exit 0
fi

dir=build-fuzz
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSELVANE_FUZZ=ON \
  -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$dir" --target mode_import_fuzzer -j "$(nproc)"

# New inputs go to a corpus of the build; the seeds stay as committed.
mkdir -p "$dir/fuzz-corpus"
[ $# -gt 0 ] || set -- -max_total_time=60
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$dir/bin/mode_import_fuzzer" -dict=textfile/fuzz/mode_text.dict -max_len=4096 -print_final_stats=1 "$@" \
  "$dir/fuzz-corpus" textfile/fuzz/corpus
