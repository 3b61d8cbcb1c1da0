#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of seconds (default 60),
# starting from its seed corpus in fuzz/corpus/<reader>/. Fails on any crash, leak or sanitizer report.
#   scripts/fuzz.sh [seconds] [target-name-filter]
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
for bin in "$dir"/bin/fuzz_*; do
    [ -x "$bin" ] || continue
    name=$(basename "$bin")
    reader=${name#fuzz_}
    if [ -n "$filter" ] && [[ "$name" != *"$filter"* ]]; then continue; fi
    # New inputs go to a scratch corpus, so the seeds in the repository stay as they are.
    work=$(mktemp -d)
    seeds=fuzz/corpus/$reader
    [ -d "$seeds" ] || seeds=""
    echo "== $name for ${secs}s"
    if "$bin" -max_total_time="$secs" -timeout=10 -rss_limit_mb=2560 -max_len=65536 -print_final_stats=1 \
        -artifact_prefix="$dir/$name-" "$work" $seeds > "$dir/$name.log" 2>&1; then
        grep -E '^stat::number_of_executed_units|^Done' "$dir/$name.log" | tail -2 || true
    else
        echo "FAILED: $name (log: $dir/$name.log)"
        tail -40 "$dir/$name.log"
        failed=$((failed + 1))
    fi
    ran=$((ran + 1))
    rm -rf "$work"
done
echo "fuzz: $ran targets run, $failed failed"
[ "$failed" -eq 0 ]
