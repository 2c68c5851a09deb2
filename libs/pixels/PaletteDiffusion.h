#pragma once
// Error diffusion of a picture onto an 8-bit picture's palette: the conversion that
// PixelImage::convertFrom makes into 8 bits, searching the palette with a PaletteSearch.

#include "pixels/PixelImage.h"

namespace slipway {

class PaletteSearch;

// Fills the 8-bit `target` (created, same size as `source`, not the source itself) from a
// source of any depth by error diffusion onto its palette. False, with nothing done, for any
// other combination; false also when memory runs out. A search made for the same palette
// may be shared between the levels of a chain (one thread); any other is left aside.
bool diffuseOntoPalette(const PixelImage& source, PixelImage& target,
                        PaletteSearch* search = nullptr);

}  // namespace slipway
