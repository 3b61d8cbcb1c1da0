#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders data/icons/verbanta.svg into the PNG sizes used for windows, the tray and the desktop entry.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail

icons="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../data/icons" && pwd)"
for size in 16 32 48 256; do
    rsvg-convert -w "$size" -h "$size" "$icons/verbanta.svg" -o "$icons/verbanta-$size.png"
done
echo "rendered $icons/verbanta-{16,32,48,256}.png"
