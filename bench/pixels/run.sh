#!/usr/bin/env bash
# Pixel pipeline figures (release build): one 1024 x 1024 32-bit TGA with alpha converted with
# the default options by pixmill, by the reference implementation and by ImageMagick's
# 256-colour Floyd-Steinberg quantization; the conversion's peak memory; a batch of 16 such
# files with --jobs 2 against --jobs 1. The product's TF must equal the reference's.
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset release >/dev/null
cmake --build --preset release -j2 --target pixmill pixels_bench_picture pixels_bench_reference >/dev/null
bin=build/release
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

seconds() { # prints elapsed seconds and peak RSS (KiB) of a command: "SECONDS KIB"
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr" >&2
        return 1
    }
    cat "$work/time"
}
best() { # the fastest of N runs: "SECONDS KIB"
    local n=$1
    shift
    local out=""
    for _ in $(seq "$n"); do
        local t
        t=$(seconds "$@")
        if [ -z "$out" ] || awk -v a="${t% *}" -v b="${out% *}" 'BEGIN{exit !(a<b)}'; then out=$t; fi
    done
    echo "$out"
}

"$bin/bench/pixels/pixels_bench_picture" "$work/pic.tga" 1024 1
mkdir -p "$work/product" "$work/batch1" "$work/batch2" "$work/src"

product=$(best 5 "$bin/apps/pixmill/pixmill" convert --jobs 1 --overwrite yes -o "$work/product" "$work/pic.tga")
reference=$(best 1 "$bin/bench/pixels/pixels_bench_reference" "$work/pic.tga" "$work/reference.tf")
magick=$(best 3 convert "$work/pic.tga" -dither FloydSteinberg -colors 256 "$work/magick.png")
if cmp -s "$work/product/pic.tf" "$work/reference.tf"; then same="identical"; else same="DIFFERENT"; fi

for i in $(seq 1 16); do "$bin/bench/pixels/pixels_bench_picture" "$work/src/p$i.tga" 1024 "$i"; done
jobs1=$(best 2 "$bin/apps/pixmill/pixmill" convert --jobs 1 --overwrite yes -o "$work/batch1" "$work"/src/*.tga)
jobs2=$(best 2 "$bin/apps/pixmill/pixmill" convert --jobs 2 --overwrite yes -o "$work/batch2" "$work"/src/*.tga)
if diff -rq "$work/batch1" "$work/batch2" >/dev/null; then batchSame="identical"; else batchSame="DIFFERENT"; fi

awk -v p="${product% *}" -v pk="${product#* }" -v r="${reference% *}" -v m="${magick% *}" \
    -v j1="${jobs1% *}" -v j2="${jobs2% *}" -v same="$same" -v bsame="$batchSame" 'BEGIN {
    printf "convert 1024x1024 32-bit TGA, default options (best of 5): %.2f s\n", p
    printf "  reference implementation: %.2f s -> %.1fx faster (target >= 20x); TF files %s\n", r, r / p, same
    printf "  ImageMagick convert -dither FloydSteinberg -colors 256 (best of 3): %.2f s -> %.1fx faster (target > 1x)\n", m, m / p
    printf "  peak memory of the conversion: %.1f MiB (target <= 64 MiB)\n", pk / 1024
    printf "batch of 16 files: --jobs 1 %.2f s, --jobs 2 %.2f s -> %.2fx (target <= 0.6x); outputs %s\n", j1, j2, j2 / j1, bsame
}'
