#!/usr/bin/env bash
# Meshview's speed. Saving a 1,000,000-triangle model against opening it (same run; target:
# save at most 3 × open), and, under Xvfb (llvmpipe), a pick against a frame of the demo hull
# and rudder at the window's render area size (target: a pick within one frame).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target meshview_bench demo_ship >/dev/null
bin=build/release/bench/meshview/meshview_bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs="${SLIPWAY_BENCH_RUNS:-5}"
read -r readBest readMedian saveBest saveMedian readBytes savedBytes < <("$bin" save "$work" "$runs")
awk -v rb="$readBest" -v rm="$readMedian" -v sb="$saveBest" -v sm="$saveMedian" \
    -v inBytes="$readBytes" -v outBytes="$savedBytes" 'BEGIN {
    printf "1000000 triangles: open %.1f MiB best %7.2f ms median %7.2f ms | save %.1f MiB best %7.2f ms median %7.2f ms | save / open %.2f (best) %.2f (median); target <= 3\n", inBytes / 1048576, rb, rm, outBytes / 1048576, sb, sm, sb / rb, sm / rm
}'
for model in hull.clf rudder.cff; do
    read -r frameBest frameMedian pickBest pickMedian firstPick triangles meshes hit < <(
        xvfb-run -a -s "-screen 0 1024x768x24" "$bin" pick "build/release/demo/$model" 50 2>/dev/null)
    awk -v m="$model" -v fb="$frameBest" -v fm="$frameMedian" -v pb="$pickBest" \
        -v pm="$pickMedian" -v first="$firstPick" -v t="$triangles" -v n="$meshes" -v hit="$hit" 'BEGIN {
        printf "%s (%d triangles, %d meshes): frame best %.3f ms median %.3f ms | pick best %.3f ms median %.3f ms (first %.3f ms, hit %s) | pick / frame %.2f (median); target <= 1\n", m, t, n, fb, fm, pb, pm, first, hit ? "a mesh" : "nothing", pm / fm
    }'
done
