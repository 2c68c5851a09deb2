#!/usr/bin/env bash
# Exports the demo ship of a build as glTF and renders the file with f3d, a viewer that is not
# ours, for the README: once from Shipview's own camera (the same picture as Shipview's, so a
# mirrored export would show at once) and once from the starboard bow quarter.
#   tools/render-gltf-demo.sh BUILD_DIR OUT_DIR      (needs f3d: tools/install-deps.sh --docs)
set -euo pipefail
build="$(cd "${1:?usage: render-gltf-demo.sh BUILD_DIR OUT_DIR}" && pwd)"
out="$(mkdir -p "${2:?usage: render-gltf-demo.sh BUILD_DIR OUT_DIR}" && cd "$2" && pwd)"
shipview="$build/apps/shipview/shipview"
glb="$(mktemp -d)/demo.glb"
cd "$build/demo"

"$shipview" --export Demo.def "$glb" --markers

# Shipview's camera looks along +z from (cx, cy, -d) with a view transform translated by
# (-cx, -cy, d); glTF's frame mirrors z, so f3d looks along -z from (cx, cy, d). The viewers'
# projection scale of 32 is a view angle of 2·atan(1/32) = 3.58 degrees.
read -r cx cy d < <("$shipview" --info Demo.def |
    node -e 'let s="";process.stdin.on("data",c=>s+=c).on("end",()=>{
        const m=JSON.parse(s).camera; console.log(-m[12], -m[13], m[14]);})')

render() {
    xvfb-run -a -s "-screen 0 1280x1024x24" f3d "$glb" --bg-color=1,1,1 "$@"
}
render --output="$out/gltf-demo-f3d.png" --resolution=487,486 \
    --camera-position="$cx,$cy,$d" --camera-focal-point="$cx,$cy,0" \
    --camera-view-up=0,1,0 --camera-view-angle=3.58
render --output="$out/gltf-demo-f3d-quarter.png" --resolution=640,480 \
    --camera-position=1.75,1.15,2.3 --camera-focal-point=0.1,0.42,0 \
    --camera-view-up=0,1,0 --camera-view-angle=30
rm -rf "$(dirname "$glb")"
