#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what the build, the program and the tests need on a Debian 12 machine, plus the packages given
# as arguments (what one script alone needs). Does nothing when everything is already there.
#   scripts/install-deps.sh [extra-package...]
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
    qt6-multimedia-dev
    qt6-speech-dev qt6-declarative-dev qt6-speech-flite-plugin qt6-speech-speechd-plugin
    qt6-charts-dev
    speech-dispatcher speech-dispatcher-espeak-ng
    libgtest-dev libgmock-dev libbenchmark-dev
    libx11-dev
    zlib1g-dev libexpat1-dev
    dict-freedict-deu-rus kdeedu-kvtml-data python3
    xvfb xauth x11-xkb-utils
    openbox trayer dbus-daemon
    clang-format
    python3 unicode-data
    clang libclang-rt-14-dev ccache
    fonts-dejavu-core
    qt6-translations-l10n
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo_cmd=""
    if [ "$(id -u)" -ne 0 ]; then sudo_cmd="sudo"; fi
    echo "Installing: ${missing[*]}"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
