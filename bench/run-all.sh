#!/usr/bin/env bash
# Runs every benchmark script (bench/*/run.sh) against the release build and prints its figures.
set -euo pipefail
cd "$(dirname "$0")/.."
for script in bench/*/run.sh; do
    [ -x "$script" ] || continue
    echo "== $script"
    "$script"
done
