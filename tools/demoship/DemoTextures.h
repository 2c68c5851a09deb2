#pragma once
// The demo ship's textures, painted procedurally so that the demo needs no picture files.

#include "demoship/TgaWriter.h"

namespace slipway::demo {

// Along u the length of the hull, along v round the hull from one rail over the keel to the
// other: rails, gun-port band, planking, white bottom.
Picture hullTexture();
Picture deckTexture();
Picture woodTexture();
// Sail canvas with vertical seams; `painted` adds a red cross.
Picture canvasTexture(bool painted);
Picture flagTexture();
// Two stripes and a swallow tail cut out of the fly end (transparent pixels).
Picture pennantTexture();
Picture ropeTexture();
Picture markerTexture();
// A round scorch mark whose outside is transparent.
Picture patchTexture();

}  // namespace slipway::demo
