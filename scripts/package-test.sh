#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and tests it as a user gets it: checks it with lintian, installs it (apt-get
# install ./verbanta_*.deb), validates its desktop entry and AppStream metainfo, starts the installed program
# under Xvfb, answers one task of the installed default dictionary, and removes the package again.
#   scripts/package-test.sh [--extract]
# --extract (or a machine where installing is not possible or a verbanta package is already installed):
# the package is unpacked with dpkg -x into a temporary root instead of being installed.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)

# The part that runs inside the X server: start the program, find its window, answer a task.
#   package-test.sh --on-display <program> <data-folder> <config-folder> <share-folder> <screenshot>
if [ "${1:-}" = --on-display ]; then
    exe=$2 data=$3 config=$4 share=$5 shot=$6
    log=$(mktemp)
    "$exe" >"$log" 2>&1 &
    pid=$!
    fail() {
        echo "FAILED: $*"
        sed 's/^/  program: /' "$log"
        kill "$pid" 2>/dev/null || true
        exit 1
    }
    win=$(timeout 30 xdotool search --sync --onlyvisible --pid "$pid" --name '^Verbanta$' | head -1) ||
        fail "no window titled Verbanta appeared"
    [ -n "$win" ] || fail "no window titled Verbanta appeared"
    sleep 2 # the first task is set once the window is shown
    import -window "$win" "$shot" || true
    grep -qF "\"LearningDictionary\"=\"$share/dict/dt_basic.lqd\"" "$config/registry.reg" ||
        fail "the lesson did not open the installed default dictionary ($config/registry.reg)"
    # A click on any candidate of the Variant task is an answer, and an answer stores the progress at once.
    # The candidates fill the page below the task strip; walk down it until one is hit.
    progress=""
    for y in 70 90 110 130 150 170 190 210 230; do
        xdotool mousemove --window "$win" 100 "$y" click 1
        for _ in 1 2 3 4 5 6 7 8 9 10; do
            progress=$(find "$data/Users" -name dt_basic.lqs -size +0 2>/dev/null | head -1)
            [ -n "$progress" ] && break 2
            sleep 0.2
        done
    done
    [ -n "$progress" ] || fail "answering a task stored no progress in $data/Users"
    echo "  window $win answered; progress in $progress"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    rm -f "$log"
    exit 0
fi

extract=0
[ "${1:-}" = --extract ] && extract=1

bash scripts/install-deps.sh desktop-file-utils appstream dpkg-dev xdotool imagemagick lintian

echo "== building the package"
dir=build/package
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVB_BUILD_TESTS=OFF >/dev/null
rm -f "$dir"/verbanta_*.deb
cmake --build "$dir" -j"$(nproc)" --target package | grep -E '^CPack: - package' || true
deb=$(ls "$dir"/verbanta_*.deb)
dpkg-deb --field "$deb" Package Version Depends Recommends

# Debian's own checker: any error or warning fails the test. Overrides live in data/lintian/, each with
# a comment saying why.
echo "== lintian"
lintian --fail-on error,warning --tag-display-limit 0 "$deb"

sudo_cmd=""
if [ "$(id -u)" -ne 0 ]; then
    if sudo -n true 2>/dev/null; then sudo_cmd="sudo -n"; else extract=1; fi
fi
if dpkg-query -W -f='${Status}' verbanta 2>/dev/null | grep -q "install ok installed"; then
    echo "A verbanta package is installed on this machine already; leaving it alone and unpacking instead."
    extract=1
fi

work=$(mktemp -d)
installed=0
cleanup() {
    if [ "$installed" -eq 1 ]; then
        DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get purge -y -qq verbanta >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

if [ "$extract" -eq 1 ]; then
    echo "== unpacking into $work/root"
    dpkg -x "$deb" "$work/root"
    prefix=$work/root/usr
else
    echo "== installing"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "$repo/$deb" >/dev/null
    installed=1
    prefix=/usr
    dpkg-query -W -f='${Status}\n' verbanta | grep -q "install ok installed"
fi

echo "== menu entry, icon, metainfo, man pages"
desktop-file-validate "$prefix/share/applications/verbanta.desktop"
icon=$(sed -n 's/^Icon=//p' "$prefix/share/applications/verbanta.desktop")
for size in 16x16 32x32 48x48 256x256; do
    test -f "$prefix/share/icons/hicolor/$size/apps/$icon.png"
done
test -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.verbanta.Verbanta.metainfo.xml"
for page in "$prefix"/share/man/man1/verbanta*.1.gz; do
    gzip -t "$page"
done
test -f "$prefix/share/man/man1/verbanta.1.gz"
if [ -x "$prefix/bin/verbanta-freq" ]; then test -f "$prefix/share/man/man1/verbanta-freq.1.gz"; fi
test -f "$prefix/share/verbanta/dict/dt_basic.lqd"
test -f "$prefix/share/verbanta/dict/dt_german.lqd"
test -f "$prefix/share/verbanta/help/verbanta.html"

xvfb=(xvfb-run -a -s "-screen 0 1280x800x24")

echo "== the installed program with a fresh VERBANTA_HOME"
home=$work/home
mkdir -p "$home"
env -u XDG_DATA_HOME -u XDG_CONFIG_HOME VERBANTA_HOME="$home" \
    "${xvfb[@]}" bash "$0" --on-display "$prefix/bin/verbanta" "$home" "$home" "$prefix/share/verbanta" \
    "$repo/$dir/installed-window.png"

if [ "$extract" -eq 0 ]; then
    # Installed system-wide, the program keeps its data in the user's XDG folders, never beside itself,
    # even when run as root, who could write there.
    echo "== the installed program without VERBANTA_HOME"
    user=$work/user
    mkdir -p "$user"
    env -u VERBANTA_HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$user" \
        "${xvfb[@]}" bash "$0" --on-display /usr/bin/verbanta "$user/.local/share/Verbanta" "$user/.config/Verbanta" \
        /usr/share/verbanta "$repo/$dir/installed-window-xdg.png"
    for f in Users tmp.tmp tmp.wav registry.reg; do
        if [ -e "/usr/bin/$f" ]; then
            echo "FAILED: the program wrote /usr/bin/$f"
            exit 1
        fi
    done

    echo "== removing"
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get purge -y -qq verbanta >/dev/null
    installed=0
    if dpkg-query -W -f='${Status}' verbanta 2>/dev/null | grep -q "installed"; then
        echo "FAILED: verbanta is still installed"
        exit 1
    fi
    for f in /usr/bin/verbanta /usr/share/verbanta /usr/share/applications/verbanta.desktop \
        /usr/share/metainfo/io.github.verbanta.Verbanta.metainfo.xml /usr/share/man/man1/verbanta.1.gz; do
        if [ -e "$f" ]; then
            echo "FAILED: $f is left after removing the package"
            exit 1
        fi
    done
fi
echo "package test passed: $(basename "$deb")"
