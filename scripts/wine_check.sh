#!/usr/bin/env bash
# The differential suite: builds the five programs for desktop Windows with
# MinGW-w64 (windows/, linked with the CE layer platform/ce_on_win32), makes
# a fresh Wine prefix under a shared Xvfb, and runs each scenario of
# tests/wine/scenarios once on the emulated phone and once under Wine,
# comparing the mode store, the phone's hardware state and the journal each
# leaves (tests/wine/wine_check.py). Prints "N passed, N failed" last and
# exits non-zero on any failure. Needs the Linux build in build/ (built here
# when missing). Extra arguments name scenario files to run alone.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
if [ ! -x build/bin/selvane-device ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
fi
cmake --build build -j "$(nproc)" --target selvane-device SelvaneSettings SelvaneTimer SelvaneToday Kestrow Lumist
cmake -S windows -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/mingw-w64.cmake" \
  "${launcher[@]}" >/dev/null
cmake --build build/windows -j "$(nproc)"

scenarios=("$@")
[ ${#scenarios[@]} -eq 0 ] && scenarios=(tests/wine/scenarios/*.txt)

# One X server for every scenario; it picks a free display number itself.
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 240x320x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 100); do
  [ -s "$display_file" ] && break
  sleep 0.1
done
[ -s "$display_file" ] || { echo "wine_check: Xvfb did not start" >&2; exit 1; }

python3 -B tests/wine/wine_check.py --build build --windows build/windows/bin --prefix build/wine-prefix \
  --display ":$(cat "$display_file")" "${scenarios[@]}"
