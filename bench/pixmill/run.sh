#!/usr/bin/env bash
# Pixmill's source pane listing a folder of 10,000 TGA files, offscreen: time until the rows
# show, until every header is read, and the longest the window's event loop went without a turn
# meanwhile, against reading the folder and the headers on one thread without a window.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$root/build/release/bench/pixmill/pixmill_pane_bench"
[ -x "$bin" ] || { echo "build the release preset first (make build-release)"; exit 1; }
QT_QPA_PLATFORM=offscreen "$bin" "${PANE_FILES:-10000}" 2>&1 | grep -v XDG_RUNTIME_DIR
