#!/usr/bin/env bash
# Installs the Debian packages that Slipway needs and that are missing; does nothing when all
# are present. Uses sudo when not run as root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
    qt6-base-dev libqt6opengl6-dev libgl-dev libgl1-mesa-dri
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth imagemagick fonts-dejavu-core bc locales
    libpng-dev scdoc librsvg2-bin desktop-file-utils shared-mime-info man-db
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
