#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiles the Qt-free libraries and their tests for 64-bit Windows with MinGW-w64 (GoogleTest built
# from its sources) and runs the tests under Wine, the registry tests against Wine's own registry in a
# prefix that belongs to this build folder.
#   scripts/windows-test.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 googletest
start=$SECONDS

dir=build/windows
echo "== windows cross build"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake >/dev/null
cmake --build "$dir" -j"$(nproc)"

# Debian keeps the launcher out of PATH. No Mono or Gecko: nothing here needs them, and their installers
# would only slow the first start of the prefix.
export WINEPREFIX=$PWD/$dir/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
wineserver=/usr/lib/wine/wineserver64
[ -x "$wineserver" ] || wineserver=/usr/lib/wine/wineserver
trap '"$wineserver" -k 2>/dev/null || true' EXIT
echo "== windows tests under Wine"
/usr/lib/wine/wine64 cmd /c exit 2>/dev/null || true # sets the prefix up before the timed tests start
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
echo "windows: built and tested in $((SECONDS - start)) s"
