#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the soak driver in the AddressSanitizer + UndefinedBehaviorSanitizer build for MINUTES minutes:
# random user actions on the whole program, the invariants checked after each. A failure prints its seed
# and the actions; the same SEED replays it.
#   scripts/soak.sh MINUTES [SEED]
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:?minutes}
seed=${2:-$(date +%s)}
dir=${VB_SOAK_BUILD:-build/asan}
if [ ! -f "$dir/build.ninja" ]; then
    bash scripts/build.sh "$dir" asan >/dev/null
fi
cmake --build "$dir" --target verbanta_soak >/dev/null
home=$(mktemp -d "${TMPDIR:-/tmp}/verbanta-soak.XXXXXX")
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
seconds=$(awk "BEGIN { print $minutes * 60 }")
status=0
"$dir/bin/verbanta_soak" --seconds "$seconds" --seed "$seed" --home "$home/home" || status=$?
if [ "$status" = 0 ]; then
    rm -rf "$home"
else
    echo "soak: kept $home (the data folder and soak-actions.log)" >&2
fi
exit "$status"
