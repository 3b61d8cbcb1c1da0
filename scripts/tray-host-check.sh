#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the tray icon against a real tray host: a virtual X server with openbox and trayer, and the GUI test
# TrayTest.TrayHost* on the X11 platform. Exits 77 (skipped) when no X server or tray host can be had.
#   scripts/tray-host-check.sh [build-dir]
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/dev}")
for tool in xvfb-run openbox trayer; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/install-deps.sh installs it)"
        exit 77
    fi
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
log="$home/test.log"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    openbox >/dev/null 2>&1 &
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
    sleep 2
    QT_QPA_PLATFORM=xcb VERBANTA_HOME="$1" "$2/bin/test_gui" --gtest_filter="TrayTest.TrayHost*"
    status=$?
    kill %1 %2 2>/dev/null
    exit $status
' _ "$home" "$build" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ "$status" -eq 0 ] && grep -q "SKIPPED \]" "$log"; then
    exit 77
fi
exit "$status"
