#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as the README says (cd build && cpack) and
# checks it with lintian: any error or warning fails.
#
#   scripts/check-package.sh [BUILD_DIR]     (default: build)
# Needs lintian (scripts/install-deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
command -v lintian >/dev/null || { echo "check-package.sh: lintian is missing (apt-get install lintian)" >&2; exit 1; }
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack)
deb=$(ls -t "$build"/lurns_*.deb | head -n 1)
echo "Checking $deb"
# --fail-on error,warning: the exit status says whether any was found.
lintian --fail-on error,warning --display-info "$deb"
