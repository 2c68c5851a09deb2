#!/usr/bin/env bash
# Installs the npm packages that the tests run (the Khronos glTF validator) into DIR/node_modules,
# at pinned versions, unless they are there already. Debian's tools (node, npm, assimp) come from
# tools/install-deps.sh. CTest runs this as the set-up of the tests that need it.
#   tools/install-test-tools.sh DIR
set -euo pipefail
dir="${1:?usage: install-test-tools.sh DIR}"
validator_version="2.0.0-dev.3.10"

installed=$(node -p "require('$dir/node_modules/gltf-validator/package.json').version" \
    2>/dev/null || true)
[ "$installed" = "$validator_version" ] && exit 0

if ! command -v npm >/dev/null; then
    echo "npm is missing: run tools/install-deps.sh" >&2
    exit 1
fi
mkdir -p "$dir"
npm install --prefix "$dir" --no-audit --no-fund --loglevel=error \
    "gltf-validator@$validator_version"
