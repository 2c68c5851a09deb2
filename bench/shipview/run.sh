#!/usr/bin/env bash
# Shipview under Xvfb (llvmpipe): time to open a DEF ship of 200 parts and 1,000,000 triangles
# against reading its files into memory, and frames per second at 800 x 600 against an empty
# frame, both baselines measured in the same run. Set DEMO_DEF to a demo ship's .def file to
# measure its frame rate as well.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$root/build/release/bench/shipview/shipview_bench"
[ -x "$bin" ] || { echo "build the release preset first (make build-release)"; exit 1; }
xvfb-run -a -s "-screen 0 1024x768x24" "$bin" ${DEMO_DEF:+"$DEMO_DEF"} 2>&1 |
    grep -v XDG_RUNTIME_DIR
