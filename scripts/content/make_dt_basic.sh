#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds data/dict/dt_basic.lqd, the default dictionary, from its UTF-8 sources in dt_basic/.
# The sources keep Ogden's order of Basic English (operations, general things, picturable things,
# general qualities, opposite qualities); the dictionary file is Windows-1251 with CR LF line ends.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$root/data/dict/dt_basic.lqd"

sources=("$here"/dt_basic/[0-9]-*.txt)

# Every line must be word|translation|transcription|note with four non-empty fields and no
# backtick: the table would take a backtick for a quote.
bad=$(cat "${sources[@]}" | awk -F'|' '
    NF != 4 || $1 == "" || $2 == "" || $3 == "" || $4 == "" || /`/ || /^[ \t]/ || /[ \t]$/ || /[ \t]\|/ || /\|[ \t]/ {
        print FILENAME ": " $0
    }')
if [[ -n "$bad" ]]; then
    echo "malformed entries:" >&2
    echo "$bad" >&2
    exit 1
fi

count=$(cat "${sources[@]}" | grep -c .)
dups=$(cat "${sources[@]}" | cut -d'|' -f1 | sort | uniq -d)
if [[ "$count" -ne 850 || -n "$dups" ]]; then
    echo "expected 850 distinct words, got $count${dups:+; repeated: $dups}" >&2
    exit 1
fi

mkdir -p "$(dirname "$out")"
tmp="$(mktemp "$out.XXXXXX")"
trap 'rm -f "$tmp"' EXIT
# iconv fails on any character that Windows-1251 lacks, so nothing is silently replaced.
cat "${sources[@]}" | tr -d '\r' | grep . | iconv -f UTF-8 -t CP1251 | sed 's/$/\r/' > "$tmp"
mv "$tmp" "$out"
trap - EXIT
echo "wrote $out ($count entries)"
