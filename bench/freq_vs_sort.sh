#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The frequency builder against the classic shell pipeline on the same text, side by side, the pipeline
# in the C locale, where it is fastest:
#   LC_ALL=C tr -cs "A-Za-z'" '\n' < TEXT | LC_ALL=C sort -f | LC_ALL=C uniq -ci | LC_ALL=C sort -nr
# The text (about 50 MB) is real prose repeated: the GNU manuals under /usr/share/info, or the
# documentation under /usr/share/doc where they are missing. A tenth of it checks that the time grows
# linearly, and the same prose with German letters (UTF-8: "ae" as "ä", "ss" as "ß" and so on) that
# other alphabets cost little more. Each command runs three times; the best wall time counts. Fails when
# the builder is less than 8 times faster, 10 times the text takes more than 12 times as long, or the
# German text takes more than 1.5 times the English one.
# Usage: bench/freq_vs_sort.sh [path to verbanta-freq] [megabytes]
set -euo pipefail
exe=${1:-build/dev/bin/verbanta-freq}
mb=${2:-50}
[ -x "$exe" ] || { echo "no builder at $exe (build the target verbanta-freq)"; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

prose=$work/prose.txt
if compgen -G "/usr/share/info/*.gz" > /dev/null; then
    zcat /usr/share/info/*.gz > "$prose" 2>/dev/null || true
fi
if [ ! -s "$prose" ]; then
    find /usr/share/doc -type f \( -name '*.txt' -o -name 'README*' -o -name 'copyright' \) -size -2M \
        -exec cat {} + > "$prose" 2>/dev/null || true
fi
[ -s "$prose" ] || { echo "no prose found to build a text from"; exit 2; }
big=$work/text.txt
target=$((mb * 1000000))
while [ "$(stat -c %s "$big" 2>/dev/null || echo 0)" -lt "$target" ]; do cat "$prose" >> "$big"; done
truncate -s "$target" "$big"
small=$work/text-tenth.txt
head -c $((target / 10)) "$big" > "$small"
german=$work/text-de.txt
sed 's/ae/ä/g; s/oe/ö/g; s/ue/ü/g; s/ss/ß/g; s/Ae/Ä/g; s/Oe/Ö/g; s/Ue/Ü/g' "$big" > "$german"

# The texts just written are still being flushed to disk; let that finish before anything is timed.
sync

best() { # best wall time in ms of three runs of "$@"
    local b=0
    for _ in 1 2 3; do
        local s e t
        s=$(date +%s%N)
        "$@" > /dev/null
        e=$(date +%s%N)
        t=$(((e - s) / 1000000))
        if [ "$b" -eq 0 ] || [ "$t" -lt "$b" ]; then b=$t; fi
    done
    echo "$b"
}
builder() { "$exe" "$1" "$work/out.lqd"; }
pipeline() { LC_ALL=C tr -cs "A-Za-z'" '\n' < "$1" | LC_ALL=C sort -f | LC_ALL=C uniq -ci | LC_ALL=C sort -nr; }

echo "text: $(stat -c %s "$big") bytes of repeated prose ($(wc -w < "$big") words)"
tb=$(best builder "$big")
tp=$(best pipeline "$big")
ts=$(best builder "$small")
tg=$(best builder "$german")
echo "verbanta-freq:              ${tb} ms"
echo "tr | sort | uniq | sort:    ${tp} ms"
echo "verbanta-freq, tenth text:  ${ts} ms"
echo "verbanta-freq, German text: ${tg} ms"
awk -v b="$tb" -v p="$tp" -v s="$ts" -v g="$tg" 'BEGIN {
    ratio = p / (b > 0 ? b : 1); growth = b / (s > 0 ? s : 1); german = g / (b > 0 ? b : 1)
    printf "builder is %.1fx faster than the pipeline (needs 8x)\n", ratio
    printf "10x the text takes %.1fx the time (allowed 12x)\n", growth
    printf "the German text takes %.2fx the English time (allowed 1.5x)\n", german
    exit !(ratio >= 8 && growth <= 12 && german <= 1.5)
}'
