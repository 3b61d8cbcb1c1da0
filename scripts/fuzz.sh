#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 60),
# starting from its seed corpus in fuzz/corpus/<reader>/. Fails on any crash, leak, timeout or sanitizer
# report; the input that caused it is kept as build/fuzz/<target>-crash-... (or -leak-, -timeout-).
#   scripts/fuzz.sh [seconds] [target-name-filter]
# Replay one input: build/fuzz/bin/fuzz_<reader> <file>
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
filter=${2:-}
bash scripts/install-deps.sh

dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVB_FUZZ=ON \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1" >/dev/null
cmake --build "$dir" -j"$(nproc)"

failed=0
ran=0
for src in fuzz/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    bin=$dir/bin/$name
    reader=${name#fuzz_}
    if [ -n "$filter" ] && [[ "$name" != *"$filter"* ]]; then continue; fi
    # New inputs go to a scratch corpus, so the seeds in the repository stay as they are.
    work=$(mktemp -d)
    seeds=fuzz/corpus/$reader
    [ -d "$seeds" ] || seeds=""
    echo "== $name for ${secs}s"
    # shellcheck disable=SC2086
    if "$bin" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2560 -max_len=16384 -print_final_stats=1 \
        -artifact_prefix="$dir/$name-" "$work" $seeds > "$dir/$name.log" 2>&1; then
        # Runs, coverage (edges) and features reached.
        grep -E '^#[0-9]+.*DONE' "$dir/$name.log" | tail -1 || true
    else
        echo "FAILED: $name (log: $dir/$name.log)"
        tail -40 "$dir/$name.log"
        failed=$((failed + 1))
    fi
    ran=$((ran + 1))
    rm -rf "$work"
done
echo "fuzz: $ran targets run, $failed failed"
[ "$ran" -gt 0 ] && [ "$failed" -eq 0 ]
