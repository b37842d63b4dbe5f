#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is needed, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh -DLURNS_BUILD_TESTS=OFF -DLURNS_BUILD_BENCH=OFF
BIN="${LURNS_BUILD_DIR:-build}/lurns"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  # No display: the window cannot open, but the cover can still be printed.
  # The example cover (or the cover named) goes into a PDF file of its
  # three true-size A4 pages, through the same printing commands as the
  # window's "Imprimir".
  COVER="${1:-examples/exemplo.lrn}"
  OUT="${LURNS_BUILD_DIR:-build}/$(basename "${COVER%.*}").pdf"
  echo "No display is available (DISPLAY and WAYLAND_DISPLAY are not set): Lurns para CD is a desktop" >&2
  echo "program and needs one to open its window (start $BIN from a graphical session, or" >&2
  echo "xvfb-run -a $BIN). Printing $COVER into a PDF instead." >&2
  "${LURNS_BUILD_DIR:-build}/batch/lurns-batch" -o "$OUT" "$COVER"
  echo "The cover's pages are in $(realpath "$OUT")"
  exit 0
fi
# Without arguments, open the example cover (its pictures are named
# relative to its own folder, which is where they are looked for).
if [ $# -eq 0 ]; then set -- examples/exemplo.lrn; fi
exec "$BIN" "$@"
