#!/usr/bin/env bash
# Pixel pipeline figures (release build), each timed in the same run as its baseline:
#  - one 1024 x 1024 32-bit TGA with alpha converted with the default options by pixmill,
#    by the reference implementation kept with the tests (target: at least 20 x faster), and by
#    ImageMagick's 256-colour Floyd-Steinberg quantization (target: faster); the product's TF
#    must equal the reference's byte for byte;
#  - the conversion's peak memory (target: at most 64 MiB);
#  - a batch of 16 such files with --jobs 2 against --jobs 1 (target: at most 0.6 x), whose
#    outputs must be identical.
# Times are the best of several runs: wall clock, and CPU (user + system) which other load on
# a shared machine disturbs less. The load average is printed with them.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target pixmill pixels_bench_picture pixels_bench_reference \
    pixels_bench_time >/dev/null
bin=build/release
pixmill=$bin/apps/pixmill/pixmill
timer=$bin/bench/pixels/pixels_bench_time
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin/bench/pixels/pixels_bench_picture" "$work/pic.tga" 1024 1
mkdir -p "$work/product" "$work/batch1" "$work/batch2" "$work/src"

read -r pw pc pk < <("$timer" 7 "$pixmill" convert --jobs 1 --overwrite yes -o "$work/product" "$work/pic.tga")
read -r rw rc rk < <("$timer" 2 "$bin/bench/pixels/pixels_bench_reference" "$work/pic.tga" "$work/reference.tf")
read -r mw mc mk < <("$timer" 3 convert "$work/pic.tga" -dither FloydSteinberg -colors 256 "$work/magick.png")
if cmp -s "$work/product/pic.tf" "$work/reference.tf"; then same="identical"; else same="DIFFERENT"; fi

for i in $(seq 1 16); do "$bin/bench/pixels/pixels_bench_picture" "$work/src/p$i.tga" 1024 "$i"; done
read -r j1w j1c j1k < <("$timer" 3 "$pixmill" convert --jobs 1 --overwrite yes -o "$work/batch1" "$work"/src/*.tga)
read -r j2w j2c j2k < <("$timer" 3 "$pixmill" convert --jobs 2 --overwrite yes -o "$work/batch2" "$work"/src/*.tga)
if diff -rq "$work/batch1" "$work/batch2" >/dev/null; then batchSame="identical"; else batchSame="DIFFERENT"; fi

awk -v pw="$pw" -v pc="$pc" -v pk="$pk" -v rw="$rw" -v rc="$rc" -v mw="$mw" -v mc="$mc" \
    -v j1w="$j1w" -v j2w="$j2w" -v j1c="$j1c" -v j2c="$j2c" -v j2k="$j2k" -v same="$same" -v bsame="$batchSame" \
    -v load="$(cut -d' ' -f1-3 /proc/loadavg)" 'BEGIN {
    printf "load average %s\n", load
    printf "convert 1024x1024 32-bit TGA with alpha, default options (pixmill --jobs 1, best of 7):\n"
    printf "  pixmill                 wall %6.3f s  cpu %6.3f s\n", pw, pc
    printf "  reference (best of 2)   wall %6.3f s  cpu %6.3f s  -> %.1fx wall, %.1fx cpu (target >= 20x); TF %s\n", rw, rc, rw / pw, rc / pc, same
    printf "  ImageMagick convert -dither FloydSteinberg -colors 256 (best of 3)\n"
    printf "                          wall %6.3f s  cpu %6.3f s  -> %.1fx wall, %.1fx cpu (target > 1x)\n", mw, mc, mw / pw, mc / pc
    printf "  peak memory of the conversion: %.1f MiB (target <= 64 MiB)\n", pk / 1024
    printf "batch of 16 such files (best of 3): --jobs 1 %.2f s, --jobs 2 %.2f s -> %.2fx (target <= 0.6x); outputs %s\n", j1w, j2w, j2w / j1w, bsame
    printf "  cpu of the batches: --jobs 1 %.2f s, --jobs 2 %.2f s (two workers only help when the machine has a second core free); peak %.1f MiB\n", j1c, j2c, j2k / 1024
}'
