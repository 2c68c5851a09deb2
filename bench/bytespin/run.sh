#!/usr/bin/env bash
# Scrambling a 256 MiB file that sits in the page cache, timed against `cp` of the same file in
# the same run. Target: bytespin takes at most 1.5 x the time of cp.
# Bytespin flushes the coded file to the disk before it replaces the original (so a crash can
# never leave a damaged file); cp does not. For that reason the run also times `cp` followed by
# a flush of the copy (`sync FILE`), the like-for-like baseline.
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
min() { echo "if ($1 < $2) $1 else $2" | bc -l; }
best_cp=999; best_cps=999; best_bs=999
rounds="${SLIPWAY_BENCH_ROUNDS:-5}"
for round in $(seq "$rounds"); do
    t0=$(now); cp data.bin copy.bin; t1=$(now)
    rm -f copy.bin
    t2=$(now); cp data.bin copy.bin; sync copy.bin; t3=$(now)
    rm -f copy.bin
    t4=$(now); "$bin" c data.bin > /dev/null; t5=$(now)
    "$bin" d data.bin > /dev/null
    cp_s=$(echo "$t1 - $t0" | bc -l); cps_s=$(echo "$t3 - $t2" | bc -l)
    bs_s=$(echo "$t5 - $t4" | bc -l)
    printf "round %d: cp %.3f s, cp+flush %.3f s, bytespin %.3f s\n" "$round" "$cp_s" "$cps_s" "$bs_s"
    best_cp=$(min "$cp_s" "$best_cp"); best_cps=$(min "$cps_s" "$best_cps"); best_bs=$(min "$bs_s" "$best_bs")
done
printf "best of %d: cp %.3f s, cp+flush %.3f s, bytespin %.3f s\n" "$rounds" "$best_cp" "$best_cps" "$best_bs"
printf "bytespin / cp %.2f (target <= 1.50); bytespin / (cp+flush) %.2f\n" \
    "$(echo "$best_bs / $best_cp" | bc -l)" "$(echo "$best_bs / $best_cps" | bc -l)"
