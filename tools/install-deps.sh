#!/usr/bin/env bash
# Installs the Debian packages that Slipway needs and that are missing; does nothing when all
# are present. Uses sudo when not run as root.
#   tools/install-deps.sh          what building and testing need
#   tools/install-deps.sh --docs   also what `make screenshots` renders the README's pictures with
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
    qt6-base-dev libqt6opengl6-dev libgl-dev libgl1-mesa-dri
    libtinygltf-dev libstb-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth imagemagick fonts-dejavu-core bc locales
    libpng-dev scdoc librsvg2-bin desktop-file-utils shared-mime-info man-db
    # The glTF export's tests: the validator runs on node (installed from npm by the tests'
    # set-up, tools/install-test-tools.sh), assimp reads the files back.
    nodejs assimp-utils
)
# A second program that renders the exported demo ship for the README.
[ "${1:-}" = "--docs" ] && packages+=(f3d)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
# Debian packages npm apart from node; some builds of nodejs bring their own.
if ! command -v npm >/dev/null; then
    missing+=(npm)
fi

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
