#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it (on its default dictionary unless a
# dictionary is given): scripts/run.sh [dictionary.lqd]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build/release release -DVB_BUILD_TESTS=OFF
exec build/release/bin/verbanta "$@"
