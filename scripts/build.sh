#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds one kind of build: scripts/build.sh <build-dir> [release|asan] [extra cmake args...]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:?build folder}
kind=${2:-release}
shift 2 || shift $#
args=(-G Ninja -DCMAKE_BUILD_TYPE=Release)
if [ "$kind" = asan ]; then
    args=(-G Ninja -DCMAKE_BUILD_TYPE=Debug -DVB_SANITIZE=ON -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1")
fi
cmake -S . -B "$dir" "${args[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
