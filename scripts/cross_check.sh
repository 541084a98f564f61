#!/usr/bin/env bash
# Compiles every source of the phone's programs (the system folders, not
# their tests, not the platform) with the MinGW-w64 cross compiler against
# its real Windows headers, plus the Windows CE headers that desktop Windows
# lacks (platform/include/wince: aygshell.h, tapi.h in its Windows CE form,
# windbase.h, ...) and the emulated phone's own additions
# (platform/include/emulation). Syntax only: it proves that the code is
# Win32 C++ with WCHAR text that a Windows compiler accepts; it neither
# links nor runs anything on a phone. Fails on any error or warning.
set -euo pipefail
cd "$(dirname "$0")/.."

compiler=x86_64-w64-mingw32-g++
if ! command -v "$compiler" >/dev/null; then
  echo "cross_check: $compiler missing (Debian package g++-mingw-w64-x86-64; scripts/install-deps.sh installs it)" >&2
  exit 1
fi

folders=(store phone schedule textfile settings timer today helpers)
# Test code and its support run only against the emulated phone.
mapfile -t sources < <(find "${folders[@]}" -name '*.cpp' ! -name '*_test.cpp' ! -name '*_fuzzer.cpp' \
  ! -name '*_test_support.cpp' ! -name 'fuzz_*.cpp' | sort)

# The phone's programs are Unicode-only. They format with wsprintfW into
# buffers sized for its limit, which strsafe.h would otherwise rename away.
# Windows CE's core additions to windows.h come in before each source, as
# the phone's own windows.h has them.
flags=(-std=c++20 -fsyntax-only -Wall -Wextra -Werror -DUNICODE -D_UNICODE -DSTRSAFE_NO_DEPRECATE
  -I. -Iplatform/include/wince -Iplatform/include/emulation -include wince_core.h)

# One compiler run per source, as many at once as there are cores.
if ! printf '%s\0' "${sources[@]}" | xargs -0 -n 1 -P "$(nproc)" "$compiler" "${flags[@]}"; then
  echo "cross_check: the sources above do not compile against the Windows headers" >&2
  exit 1
fi
echo "cross_check: ${#sources[@]} sources compile against the Windows headers"
