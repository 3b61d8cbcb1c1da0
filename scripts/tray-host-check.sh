#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the tray icon and the word card against real tray hosts under a virtual X server with openbox:
#   1. an embedded-icon (XEmbed) tray, trayer, with no session bus: the GUI tests TrayTest.TrayHost*;
#   2. a StatusNotifier host, a private session bus (dbus-daemon) with a minimal StatusNotifierWatcher, where
#      Qt exports the icon over D-Bus: TrayTest.TrayHostStatusNotifier*.
# Exits 77 (skipped) when no X server or tray host can be had.
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
sni=1
if ! command -v dbus-run-session >/dev/null || [ ! -x "$build/bin/status_notifier_watcher" ]; then
    echo "StatusNotifier pass skipped: dbus-run-session or the watcher is missing (scripts/install-deps.sh)"
    sni=0
fi
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
log="$home/test.log"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    home=$1 build=$2 sni=$3
    openbox >/dev/null 2>&1 &
    wm=$!
    trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
    tray=$!
    sleep 2
    # Without a session bus Qt embeds the icon in the XEmbed tray.
    mkdir -p "$home/xembed" "$home/sni"
    env -u DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM=xcb VERBANTA_HOME="$home/xembed" "$build/bin/test_gui" \
        --gtest_filter="TrayTest.TrayHost*:-TrayTest.TrayHostStatusNotifier*"
    status=$?
    if [ "$sni" = 1 ]; then
        dbus-run-session -- bash -c "
            \"$build/bin/status_notifier_watcher\" > \"$home/watcher.log\" 2>&1 &
            watcher=\$!
            for _ in \$(seq 50); do grep -q ready \"$home/watcher.log\" && break; sleep 0.1; done
            QT_QPA_PLATFORM=xcb VERBANTA_HOME=\"$home/sni\" \"$build/bin/test_gui\" \
                --gtest_filter=\"TrayTest.TrayHostStatusNotifier*\"
            result=\$?
            kill \$watcher
            exit \$result
        " || status=1
    fi
    kill $wm $tray 2>/dev/null
    exit $status
' _ "$home" "$build" "$sni" 2>&1 | tee "$log"
status=${PIPESTATUS[0]}
if [ "$status" -eq 0 ] && { [ "$sni" = 0 ] || grep -q "SKIPPED \]" "$log"; }; then
    exit 77
fi
exit "$status"
