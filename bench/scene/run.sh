#!/usr/bin/env bash
# Loading a 1,000,000-triangle CLF and an equivalent CFF into the scene, beside the plain read
# of the same file into memory (same run), and the peak memory one load adds.
# Targets: load at most 5 × the read time; peak added at most 4 × the file size.
# Times are taken twice: "fresh", where every large buffer (the read's and the load's) is newly
# mapped memory, as when a viewer opens a model; and "warm", where the allocator hands back
# memory an earlier round already touched, which makes the plain read little more than a copy.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target bench_scene_load >/dev/null
bin=build/release/bench/scene/bench_scene_load
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin" make "$work"
runs="${SLIPWAY_BENCH_RUNS:-7}"
for file in "$work/big.clf" "$work/big.cff"; do
    bytes=$(stat -c %s "$file")
    read -r before peak < <("$bin" memory "$file")
    awk -v name="$(basename "$file")" -v bytes="$bytes" -v before="$before" -v peak="$peak" 'BEGIN {
        mib = bytes / 1048576; added = (peak - before) / 1024
        printf "%s: %.1f MiB, 1000000 triangles\n", name, mib
        printf "  peak memory added by one load %.1f MiB  (%.2f x file size; target <= 4)\n", added, added / mib
    }'
    for mode in fresh warm; do
        read -r readBest readMedian loadBest loadMedian < <("$bin" time "$file" "$runs" "$mode")
        awk -v mode="$mode" -v rb="$readBest" -v rm="$readMedian" -v lb="$loadBest" \
            -v lm="$loadMedian" 'BEGIN {
            printf "  %-5s plain read best %7.2f ms median %7.2f ms | scene load best %7.2f ms median %7.2f ms | load / read %.2f (best) %.2f (median); target <= 5\n", mode, rb, rm, lb, lm, lb / rb, lm / rm
        }'
    done
done
