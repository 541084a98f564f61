#!/usr/bin/env bash
# The main job: builds Selvane and runs it on the default device (created on
# first use). For now that is the device itself: it prints the phone's state.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
exec build/bin/selvane-device state
