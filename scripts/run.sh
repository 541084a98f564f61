#!/usr/bin/env bash
# The main job: builds Selvane and switches the phone of the default device
# on (the device is created on first use). Where there is a display, the
# phone's Today screen shows in a window until the window is closed;
# elsewhere the phone comes on headless, its Today screen is saved as a
# screenshot whose path is printed, and the phone's state is printed.
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
  exec env SELVANE_DISPLAY=sdl build/bin/selvane-device run
fi

# Headless: the phone carries out its script (a second on, one screenshot)
# and is switched off when the script is done.
shot="$PWD/build/SelvaneToday.png"
script="$(mktemp)"
trap 'rm -f "$script"' EXIT
printf 'wait 1000\nscreenshot %s\n' "$shot" >"$script"
SELVANE_DISPLAY=headless SELVANE_INPUT="$script" build/bin/selvane-device run
echo "$shot"
build/bin/selvane-device state
