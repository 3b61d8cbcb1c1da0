#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time from the start of the process to the mapping of its first window, under a virtual X server
# without a window manager: an empty Qt window, the program on its default dictionary, and the program on a
# dictionary of 100,000 words, started in turn. Reports the medians and their ratios.
#   bench/startup.sh [build-dir] [rounds]
# The build folder needs the benchmarks (-DVB_BUILD_BENCH=ON), e.g.:
#   cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVB_BUILD_BENCH=ON
#   cmake --build build/bench --target verbanta bench_empty_window bench_startup_map
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/bench}")
rounds=${2:-30}
for exe in verbanta bench_empty_window bench_startup_map; do
    if [ ! -x "$build/bin/$exe" ]; then
        echo "missing $build/bin/$exe: build it first (see the top of this script)" >&2
        exit 1
    fi
done
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# 100,000 distinct words, ASCII so any code page reads them alike.
awk 'BEGIN { for (i = 0; i < 100000; i++) printf "word%06d|perevod%06d|[w%d]|note %d\r\n", i, i, i, i }' \
    >"$work/big.lqd"

xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    build=$1 work=$2 rounds=$3
    map=$build/bin/bench_startup_map
    run() { # name home program args...
        local name=$1 home=$2 linger=0
        shift 2
        # A first start is given the time to save what it saves after its first frame.
        [ "$name" = warmup ] && linger=2000
        HOME=$home VERBANTA_HOME=$home "$map" 10000 --linger $linger "$@" >>"$work/$name.times"
    }
    for name in default big; do
        mkdir -p "$work/home-$name"
    done
    # A first start of each writes the settings; later starts are the ordinary ones.
    run warmup "$work/home-default" "$build/bin/verbanta"
    run warmup "$work/home-big" "$build/bin/verbanta" "$work/big.lqd"
    run warmup "$work/home-empty" "$build/bin/bench_empty_window"
    for _ in $(seq "$rounds"); do
        run empty "$work/home-empty" "$build/bin/bench_empty_window"
        run default "$work/home-default" "$build/bin/verbanta"
        run big "$work/home-big" "$build/bin/verbanta" "$work/big.lqd"
    done
' _ "$build" "$work" "$rounds"

median() { sort -n "$1" | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
empty=$(median "$work/empty.times")
default=$(median "$work/default.times")
big=$(median "$work/big.times")
echo "start to first map, median of $rounds runs each:"
printf '  empty Qt window            %7.1f ms\n' "$empty"
printf '  verbanta, default          %7.1f ms  (%.2fx the empty window; goal at most 2x)\n' "$default" \
    "$(awk -v a="$default" -v b="$empty" 'BEGIN { print a / b }')"
printf '  verbanta, 100,000 words    %7.1f ms  (%.2fx the default start; goal at most 1.5x)\n' "$big" \
    "$(awk -v a="$big" -v b="$default" 'BEGIN { print a / b }')"
