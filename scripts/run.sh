#!/usr/bin/env bash
# The main job: builds Selvane and opens the settings program on the default
# device (created on first use). Where there is a display it shows the phone's
# screen in a window; elsewhere it runs headless, saves a screenshot of the
# first page and prints the picture's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"

display="${SELVANE_DISPLAY:-}"
if [ -z "$display" ]; then
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then display=sdl; else display=headless; fi
fi
if [ "$display" = sdl ]; then
  exec env SELVANE_DISPLAY=sdl build/bin/SelvaneSettings
fi

# Headless: the program carries out its script (one screenshot) and, with
# nothing left to wait for, ends by itself.
shot="$PWD/build/SelvaneSettings.png"
script="$(mktemp)"
trap 'rm -f "$script"' EXIT
printf 'screenshot %s\n' "$shot" >"$script"
SELVANE_DISPLAY=headless SELVANE_INPUT="$script" build/bin/SelvaneSettings
echo "$shot"
