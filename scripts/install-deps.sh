#!/usr/bin/env bash
# Installs the Debian packages that Selvane builds and tests with, when any
# of them is missing. Needs root (or sudo) only when something is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  # llvm-rc compiles the resource scripts
  llvm
  libsqlite3-dev libsdl2-dev libpng-dev libfreetype-dev
  # Tahoma, the one face the screen is drawn with (the golden pictures rely on it)
  fonts-wine
  libgtest-dev libgmock-dev nlohmann-json3-dev libcli11-dev
  xvfb xauth
  # the host-window test: clicks into the window and pictures of the X screen
  xdotool imagemagick
  # the cross-compile check: the programs' sources against real Windows headers
  g++-mingw-w64-x86-64
  # the differential suite: the Windows build of the programs run under Wine,
  # compared by a Python script
  wine64 python3
)
# clang with its sanitizer runtime builds the fuzz targets; optional.
optional=(clang libclang-rt-14-dev)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
# Whether the package lists know a version of the package to install.
installable() { LC_ALL=C apt-cache policy "$1" 2>/dev/null | grep -q '^ *Candidate: [^(]'; }

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
# An optional package is tried along with a missing required one (the lists
# are updated then anyway), else only when the lists offer it, so that one
# they do not offer causes no update and failed install on every run.
required_missing=${#missing[@]}
for p in "${optional[@]}"; do
  installed "$p" && continue
  if [ "$required_missing" -gt 0 ] || installable "$p"; then missing+=("$p"); fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing: ${missing[*]}" >&2
$sudo apt-get update -qq
for p in "${missing[@]}"; do
  if printf '%s\n' "${optional[@]}" | grep -qx "$p"; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$p" >/dev/null || echo "optional package $p not installed" >&2
  else
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$p" >/dev/null
  fi
done
