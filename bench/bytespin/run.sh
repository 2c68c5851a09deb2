#!/usr/bin/env bash
# Scrambling a 256 MiB file that sits in the page cache, timed against `cp` of the same file in
# the same run. Target: bytespin takes at most 1.5 x the time of cp.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="$root/build/release/apps/bytespin/bytespin"
[ -x "$bin" ] || { echo "build the release preset first (make build-release)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/bytespin-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
head -c $((256 * 1024 * 1024)) /dev/urandom > data.bin
cat data.bin > /dev/null  # into the page cache

now() { date +%s.%N; }
best_cp=999; best_bs=999
for round in 1 2 3; do
    t0=$(now); cp data.bin copy.bin; t1=$(now)
    rm -f copy.bin
    t2=$(now); "$bin" c data.bin > /dev/null; t3=$(now)
    "$bin" d data.bin > /dev/null
    cp_s=$(echo "$t1 - $t0" | bc -l); bs_s=$(echo "$t3 - $t2" | bc -l)
    printf "round %d: cp %.3f s, bytespin %.3f s\n" "$round" "$cp_s" "$bs_s"
    best_cp=$(echo "if ($cp_s < $best_cp) $cp_s else $best_cp" | bc -l)
    best_bs=$(echo "if ($bs_s < $best_bs) $bs_s else $best_bs" | bc -l)
done
printf "best of 3: cp %.3f s, bytespin %.3f s, ratio %.2f (target <= 1.50)\n" \
    "$best_cp" "$best_bs" "$(echo "$best_bs / $best_cp" | bc -l)"
