#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times a second start: with an instance running, `verbanta some.lqd` must hand over its argument and
# end within a second. Usage: bench/second_start.sh <path to verbanta>
set -euo pipefail
exe=${1:?path to the verbanta executable}
home=$(mktemp -d)
trap 'kill "$first" 2>/dev/null || true; rm -rf "$home"' EXIT
export VERBANTA_HOME=$home QT_QPA_PLATFORM=offscreen
"$exe" & first=$!
# The first instance has saved its settings (and so created its key) once the registry file exists.
for _ in $(seq 100); do [ -s "$home/registry.reg" ] && break; sleep 0.1; done
for i in 1 2 3 4 5; do
    start=$(date +%s%N)
    "$exe" some.lqd
    end=$(date +%s%N)
    echo "second start $i: $(( (end - start) / 1000000 )) ms"
done
