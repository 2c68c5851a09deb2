#pragma once
// The steps from a loaded source picture to the levels of a TF texture: power-of-two
// preparation, the 32-bit master chain, and the 16-bit and 8-bit output levels.

#include <cstdint>
#include <memory>

#include "pixels/MipLevels.h"
#include "pixels/PixelImage.h"

namespace slipway {

class PaletteSearch;

// v itself when it is a power of two, else the next power of two above it; 0 stays 0.
std::uint32_t powerOfTwoAtLeast(std::uint32_t v);

// True when either side of the picture is not a power of two.
bool needsPowerOfTwo(const PixelImage& source);

// Brings both sides up to powers of two by area resampling; the picture is then 32 bits per
// pixel (with formatAlpha when it had it). False when memory runs out (picture unchanged).
bool resizeToPowerOfTwo(PixelImage& source);

// Master level 0: a 32-bit copy of the source (formatAlpha when the source has it).
bool makeMasterLevel0(const PixelImage& source, PixelImage& level0);

// Makes the master levels 1 to 15 of one 32-bit level 0, in increasing order, from integer
// block sums carried from each level to the next: the result of each level is exactly
// makeMip(level0, k), at the cost of one pass over the level before it.
class MasterMipBuilder {
  public:
    explicit MasterMipBuilder(const PixelImage& level0) : level0_(level0) {}
    // Makes level k into `out`; call with k = 1, 2, ... in order. False when memory runs out
    // (later levels are then filtered from level 0 directly).
    bool makeLevel(int k, PixelImage& out);

  private:
    const PixelImage& level0_;
    int level_ = 0;  // the level whose sums are held; 0 = none yet
    bool broken_ = false;
    std::uint32_t width_ = 0, height_ = 0;
    std::unique_ptr<std::uint32_t[]> sums32_;  // up to level 12 the sums fit 32 bits
    std::unique_ptr<std::uint64_t[]> sums64_;
};

// The pixel format of the 16-bit level for a master level: 4:4:4:4 or 1:5:5:5 with alpha,
// else 5:6:5.
std::uint32_t level16Format(const PixelImage& master, bool fourBitAlpha);

// Makes 16-bit level `level` of an n-level chain from its master level: error diffusion,
// then the alpha fade (when the level has alpha and attenuation is below 1) and the copy
// mode. False when the level could not be made.
bool make16BitLevel(const PixelImage& master, int level, int n, bool fourBitAlpha,
                    float attenuation, int copyMode, PixelImage& out);

// Makes an 8-bit level from its master level on `palette` (index 0 is the colour key when the
// master has alpha), then applies the copy mode. `search`, when given, is reused for every
// level made with it (it must stay with one thread).
bool make8BitLevel(const PixelImage& master, const Palette& palette, int copyMode, PixelImage& out,
                   PaletteSearch* search = nullptr);

}  // namespace slipway
