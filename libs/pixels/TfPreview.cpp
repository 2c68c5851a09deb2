#include "pixels/TfPreview.h"

#include <algorithm>

namespace slipway {

std::optional<TfPreviewLevel> chooseTfPreviewLevel(const TfHeader& header, std::uint32_t maxSide) {
    const bool use16 = header.count16 > 0;
    const std::uint32_t count =
        std::min<std::uint32_t>(use16 ? header.count16 : header.count8, kMaxTfLevels);
    std::optional<TfPreviewLevel> smallest;
    for (std::uint32_t level = 0; level < count; ++level) {
        const std::uint32_t w = header.width >> level;
        const std::uint32_t h = header.height >> level;
        if (w == 0 || h == 0)
            break;
        smallest = TfPreviewLevel{use16, level};
        if (w <= maxSide && h <= maxSide)
            return smallest;
    }
    return smallest;
}

std::uint64_t tfPreviewBytes(const TfHeader& header, TfPreviewLevel choice) {
    const std::uint64_t pixels =
        std::uint64_t{header.width >> choice.level} * (header.height >> choice.level);
    return choice.use16 ? tfLevel16Offset(header, choice.level) + pixels * 2
                        : tfLevel8Offset(header, choice.level) + pixels;
}

bool loadTfPreview(std::span<const std::uint8_t> data, std::uint32_t maxSide, PixelImage& out) {
    out.release();
    TfHeader header;
    if (maxSide == 0 || !parseTfHeader(data, header))
        return false;
    const auto choice = chooseTfPreviewLevel(header, maxSide);
    if (!choice)
        return false;
    TfFile file;
    file.use16 = choice->use16;
    file.level = choice->level;
    if (!file.loadPictureFrom(data))
        return false;

    const PixelImage& level = file.picture;
    const std::uint32_t w = level.width();
    const std::uint32_t h = level.height();
    PixelImage full;
    if (!full.create(w, h, 32 | formatAlpha))
        return false;
    level.appendBgra(reinterpret_cast<Bgra*>(full.pixels()));
    full.addFormatFlags(formatFilled);
    if (w <= maxSide && h <= maxSide) {
        out = std::move(full);
        return true;
    }
    // The longer side becomes maxSide; the shorter keeps the proportion, at least one pixel.
    const std::uint32_t longer = std::max(w, h);
    const auto scaled = [&](std::uint32_t side) {
        return std::max<std::uint32_t>(
            1, static_cast<std::uint32_t>(std::uint64_t{side} * maxSide / longer));
    };
    return out.resizeFrom(scaled(w), scaled(h), full);
}

}  // namespace slipway
