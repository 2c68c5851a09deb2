#include "pixels/PaletteDiffusion.h"

#include <memory>

#include "pixels/DiffusionRows.h"
#include "pixels/PaletteSearchLists.h"

namespace slipway {
namespace {

using diffusion::Cell;
using diffusion::Colour;
using diffusion::Lanes;

// Stores the nearest entry's index (0 for a transparent pixel of a colour-keyed picture); the
// error is what the entry leaves of the colour. `Nearest` is the search of one width.
template <typename Nearest>
struct OntoPalette {
    // Four rows at once: their palette searches are long and independent.
    static constexpr std::uint32_t kRows = 4;

    OntoPalette(const PixelImage& target, Nearest nearestOf)
        : colourKey(target.hasAlpha()), nearest(nearestOf) {
        const Palette& palette = target.palette();
        for (int i = 0; i < 256; ++i) {
            colours[i] = Cell{{palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2], 0}};
        }
    }

    Lanes operator()(std::uint8_t* out, std::uint32_t x, Colour value, std::uint8_t alpha) {
        const std::uint32_t bgr = value.bgr();
        const std::uint8_t index =
            colourKey && alpha < 64
                ? 0
                : nearest(static_cast<std::uint8_t>(bgr), static_cast<std::uint8_t>(bgr >> 8),
                          static_cast<std::uint8_t>(bgr >> 16));
        out[x] = index;
        return value.lanes() - load(colours[index]);
    }

    const bool colourKey;
    Nearest nearest;
    Cell colours[256];
};

template <typename Nearest>
bool diffuseWith(const PixelImage& source, PixelImage& target, Nearest nearest) {
    OntoPalette<Nearest> put(target, nearest);
    return diffusion::diffuseRows(source, target, put);
}

bool diffuseFour(const PixelImage& source, PixelImage& target, PaletteSearch::Lists& lists) {
    return diffuseWith(source, target, [&lists](std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        unsigned fours = 0;
        const auto* list = lists.candidates(b, g, r, fours);
        return palette_search::nearestOfFours(list, fours, b, g, r);
    });
}

#if SLIPWAY_AVX2
// The same loop, compiled for the wide instructions with everything it calls.
SLIPWAY_TARGET_AVX2 [[gnu::flatten]] bool diffuseEight(const PixelImage& source, PixelImage& target,
                                                       PaletteSearch::Lists& lists) {
    return diffuseWith(source, target, [&lists](std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        unsigned fours = 0;
        const auto* list = lists.candidates(b, g, r, fours);
        return palette_search::nearestOfEights(list, fours, b, g, r);
    });
}
#endif

}  // namespace

bool diffuseOntoPalette(const PixelImage& source, PixelImage& target, PaletteSearch* shared) {
    if (target.bitsPerPixel() != 8 || source.isEmpty() || source.width() != target.width() ||
        source.height() != target.height() || &source == &target) {
        return false;
    }
    const int first = target.hasAlpha() ? 1 : 0;
    std::unique_ptr<PaletteSearch> own;
    if (shared == nullptr || !shared->answers(target.palette(), first))
        own = std::make_unique<PaletteSearch>(target.palette(), first);
    PaletteSearch& search = own ? *own : *shared;
#if SLIPWAY_AVX2
    const bool done = search.width() == SearchWidth::Eight
                          ? diffuseEight(source, target, search.lists())
                          : diffuseFour(source, target, search.lists());
#else
    const bool done = diffuseFour(source, target, search.lists());
#endif
    if (done)
        target.addFormatFlags(formatFilled);
    return done;
}

}  // namespace slipway
