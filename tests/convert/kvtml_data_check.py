#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Converts every vocabulary of kdeedu-kvtml-data with verbanta-convert and checks that no file crashes it,
# that each well-formed file gives one entry per XML entry with text, and that a file that is not well-formed
# is refused with a message naming its line. Exits 77 (skipped) when the package is not installed.
#   tests/convert/kvtml_data_check.py path/to/verbanta-convert
import csv
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

ROOT = "/usr/share/apps/kvtml"


def flat(text):
    # The converter's own cleaning of a value: control characters become spaces, the ends are trimmed.
    return "".join(" " if ord(c) < 32 or c == "\x7f" else c for c in (text or "")).strip(" ")


def expected_entries(path):
    root = ET.parse(path).getroot()
    ids = [i.get("id") for i in root.findall("./identifiers/identifier")]
    pair = ids[:2]
    count = 0
    for entry in root.findall("./entries/entry"):
        texts = []
        for tr in entry.findall("translation"):
            if tr.get("id") in pair:
                texts.append(" ".join(t.text or "" for t in tr.findall("text")))
        if any(flat(t) for t in texts):
            count += 1
    return count


def main():
    exe = sys.argv[1]
    if not os.path.isdir(ROOT):
        print("kdeedu-kvtml-data is not installed: skipped")
        return 77
    files = sorted(os.path.join(d, f) for d, _, fs in os.walk(ROOT) for f in fs if f.endswith(".kvtml"))
    failures = 0
    refused = 0
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.csv")
        for path in files:
            if os.path.exists(out):
                os.remove(out)
            run = subprocess.run([exe, path, out], capture_output=True, text=True, errors="replace")
            if run.returncode not in (0, 1):
                print(f"{path}: exit {run.returncode}: {run.stderr.strip()}")
                failures += 1
                continue
            try:
                want = expected_entries(path)
            except ET.ParseError:
                refused += 1
                if run.returncode != 1 or "строка " not in run.stderr:
                    print(f"{path}: not well-formed, but not refused with its line: {run.stderr.strip()}")
                    failures += 1
                else:
                    print(f"refused as expected: {run.stderr.strip()}")
                continue
            if want == 0:
                if run.returncode != 1:
                    print(f"{path}: no entries, but exit {run.returncode}")
                    failures += 1
                continue
            if run.returncode != 0:
                print(f"{path}: refused: {run.stderr.strip()}")
                failures += 1
                continue
            with open(out, encoding="utf-8-sig", newline="") as f:
                got = sum(1 for _ in csv.reader(f))
            if got != want:
                print(f"{path}: {got} entries, the XML has {want}")
                failures += 1
    print(f"kvtml data: {len(files)} files, {refused} refused as not well-formed, {failures} failures")
    return 1 if failures or not files else 0


if __name__ == "__main__":
    sys.exit(main())
