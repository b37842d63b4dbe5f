#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into ./build (or $LURNS_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${LURNS_BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build "$BUILD_DIR" -j"$(nproc)"
