#!/usr/bin/env bash
# The README's picture of Pixmill's window: the demo ship's textures in the source pane, four
# of them converted into the target pane, and one texture previewed. Runs the release build
# under a virtual X server with settings of its own, so the user's are not touched.
#   tools/pixmill-screenshot.sh [OUT.png]   (default docs/pixmill-window.png)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/pixmill-window.png}"
pixmill="$root/build/release/apps/pixmill/pixmill"
demo="$root/build/release/demo"
[ -x "$pixmill" ] && [ -d "$demo" ] || {
    echo "build the release preset first (targets pixmill and demo_ship)"
    exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/textures" "$work/config/Zentha"
cp "$demo"/*.tga "$work/textures/"
"$pixmill" convert "$work"/textures/{Karav_flag,Parusa_english,deck,Karav_vimpel}.tga
cat >"$work/config/Zentha/Pixmill.conf" <<'CONF'
[Interface]
leftPos=26000
rightPos=74000
bkgColor=9474192

[Interface/window]
x=0
y=0
w=1100
h=640
showCmd=1
CONF
cat >"$work/shoot.sh" <<SHOOT
#!/bin/sh
XDG_CONFIG_HOME="$work/config" "$pixmill" "$work/textures/Parusa_english.tf" &
sleep 5
import -window root "$work/root.png"
kill \$!
SHOOT
chmod +x "$work/shoot.sh"
xvfb-run -a -s "-screen 0 1280x1024x24" "$work/shoot.sh"
# Without a window manager the window sits at the top left corner, without a frame.
convert "$work/root.png" -crop 1100x640+0+0 +repage "$out"
echo "wrote $out"
