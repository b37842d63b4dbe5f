#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DLURNS_BUILD_TESTS=OFF -DLURNS_BUILD_BENCH=OFF
BIN="${LURNS_BUILD_DIR:-build}/lurns"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display is available (DISPLAY and WAYLAND_DISPLAY are not set): Lurns para CD is a desktop" >&2
  echo "program and needs one. It was built as $BIN; start it from a graphical session," >&2
  echo "or under a virtual display: xvfb-run -a $BIN" >&2
  exit 1
fi
# Without arguments, open the example cover (its pictures are named
# relative to its own folder, which is where they are looked for).
if [ $# -eq 0 ]; then set -- examples/exemplo.lrn; fi
exec "$BIN" "$@"
