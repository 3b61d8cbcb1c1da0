#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the formatting, then builds and runs every test twice: in a normal
# build and in an AddressSanitizer + UndefinedBehaviorSanitizer build; then a short run of every fuzzer,
# the Debian package test and the Windows build of the core under Wine (VB_SKIP_WINDOWS=1 leaves it out).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

echo "== formatting"
files=$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' \
    2>/dev/null || true)
if [ -n "$files" ]; then
    # shellcheck disable=SC2086
    clang-format --dry-run -Werror $files
fi

for kind in release asan; do
    echo "== $kind build"
    bash scripts/build.sh "build/test-$kind" "$kind"
    echo "== $kind tests"
    ctest --test-dir "build/test-$kind" --output-on-failure -j"$(nproc)" --timeout 300
done

# A short run of every libFuzzer target from its seeds; long runs are done by hand.
echo "== fuzz smoke"
bash scripts/fuzz.sh 20
echo "== Debian package"
bash scripts/package-test.sh

if [ "${VB_SKIP_WINDOWS:-0}" != 1 ]; then
    echo "== Windows core under Wine"
    bash scripts/windows-test.sh
fi
