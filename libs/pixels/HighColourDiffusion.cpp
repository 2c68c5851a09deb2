#include "pixels/HighColourDiffusion.h"

#include "pixels/DiffusionRows.h"

namespace slipway {
namespace {

using diffusion::Colour;
using diffusion::Lanes;

// Stores the 16-bit word of a pixel of `Bits` bits; reading it back keeps each channel's top
// bits, so the error is what the low bits held.
template <int Bits>
struct ToHighColour {
    // Two rows at once: enough to overlap the two rows' chains of errors moving right.
    static constexpr std::uint32_t kRows = 2;

    Lanes operator()(std::uint8_t* out, std::uint32_t x, Colour value, std::uint8_t alpha) const {
        const std::uint32_t bgr = value.bgr();
        const std::uint32_t b = bgr & 0xFF, g = (bgr >> 8) & 0xFF, r = bgr >> 16;
        std::uint32_t word;
        if constexpr (Bits == 16) {
            word = (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
        } else if constexpr (Bits == 15) {
            word = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3) | (alpha > 64 ? 0x8000u : 0u);
        } else {
            word = (std::uint32_t{alpha} >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
        }
        out[2 * x] = static_cast<std::uint8_t>(word);
        out[2 * x + 1] = static_cast<std::uint8_t>(word >> 8);
        return value.lanes() & lowBits;
    }

    const Lanes lowBits = Bits == 12   ? diffusion::lanesOf(15, 15, 15)
                          : Bits == 16 ? diffusion::lanesOf(7, 3, 7)
                                       : diffusion::lanesOf(7, 7, 7);
};

template <int Bits>
bool diffuseInto(const PixelImage& source, PixelImage& target) {
    ToHighColour<Bits> put;
    return diffusion::diffuseRows(source, target, put);
}

}  // namespace

bool diffuseToHighColour(const PixelImage& source, PixelImage& target) {
    const std::uint32_t bits = target.bitsPerPixel();
    if ((bits != 16 && bits != 15 && bits != 12) || source.isEmpty() ||
        source.width() != target.width() || source.height() != target.height() ||
        &source == &target) {
        return false;
    }
    const bool done = bits == 16   ? diffuseInto<16>(source, target)
                      : bits == 15 ? diffuseInto<15>(source, target)
                                   : diffuseInto<12>(source, target);
    if (done)
        target.addFormatFlags(formatFilled);
    return done;
}

}  // namespace slipway
