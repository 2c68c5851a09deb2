#include "pixels/MipChain.h"

#include <bit>
#include <memory>
#include <new>

#include "pixels/HighColourDiffusion.h"
#include "pixels/PaletteDiffusion.h"

namespace slipway {

std::uint32_t powerOfTwoAtLeast(std::uint32_t v) {
    if (v == 0 || std::has_single_bit(v))
        return v;
    return std::bit_floor(v) << 1;
}

bool needsPowerOfTwo(const PixelImage& source) {
    return powerOfTwoAtLeast(source.width()) != source.width() ||
           powerOfTwoAtLeast(source.height()) != source.height();
}

bool resizeToPowerOfTwo(PixelImage& source) {
    PixelImage work;
    if (!work.create(source.width(), source.height(), 32 | (source.format() & formatAlpha))) {
        return false;
    }
    if (!work.convertFrom(source))
        return false;
    return source.resizeFrom(powerOfTwoAtLeast(source.width()), powerOfTwoAtLeast(source.height()),
                             work);
}

bool makeMasterLevel0(const PixelImage& source, PixelImage& level0) {
    if (!level0.create(source.width(), source.height(), 32 | (source.format() & formatAlpha))) {
        return false;
    }
    return level0.convertFrom(source);
}

namespace {

// Sums of 2 x 2 blocks of a grid of four-channel sums.
template <typename In, typename Out>
void reduceSums(const In* in, std::uint32_t inWidth, std::uint32_t width, std::uint32_t height,
                Out* out) {
    for (std::uint32_t y = 0; y < height; ++y) {
        const In* top = in + std::size_t{2 * y} * inWidth * 4;
        const In* bottom = top + std::size_t{inWidth} * 4;
        Out* o = out + std::size_t{y} * width * 4;
        for (std::uint32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 4; ++c) {
                o[c] = static_cast<Out>(Out{top[c]} + top[4 + c] + bottom[c] + bottom[4 + c]);
            }
            top += 8;
            bottom += 8;
            o += 4;
        }
    }
}

template <typename Sum>
void storeMeans(const Sum* sums, int k, PixelImage& out) {
    const int shift = 2 * k;
    const Sum half = Sum{1} << (shift - 1);
    std::uint8_t* p = out.pixels();
    const std::size_t n = std::size_t{out.width()} * out.height() * 4;
    for (std::size_t i = 0; i < n; ++i)
        p[i] = static_cast<std::uint8_t>((sums[i] + half) >> shift);
}

}  // namespace

bool MasterMipBuilder::makeLevel(int k, PixelImage& out) {
    if (k < 1 || level0_.isEmpty() || level0_.bitsPerPixel() != 32 || broken_ || k != level_ + 1) {
        broken_ = true;
        return out.makeMip(level0_, k);
    }
    const std::uint32_t width = level0_.width() >> k;
    const std::uint32_t height = level0_.height() >> k;
    out.release();
    level_ = k;
    if (width == 0 || height == 0) {
        broken_ = true;  // every later level is empty too
        return true;
    }
    // The sums are written in full before they are read, so they need no clearing.
    const std::size_t n = std::size_t{width} * height * 4;
    if (k <= 12) {
        std::unique_ptr<std::uint32_t[]> next(new (std::nothrow) std::uint32_t[n]);
        if (!next) {
            broken_ = true;
            return false;
        }
        if (k == 1) {
            reduceSums(level0_.pixels(), level0_.width(), width, height, next.get());
        } else {
            reduceSums(sums32_.get(), width_, width, height, next.get());
        }
        sums32_ = std::move(next);
    } else {
        std::unique_ptr<std::uint64_t[]> next(new (std::nothrow) std::uint64_t[n]);
        if (!next) {
            broken_ = true;
            return false;
        }
        if (k == 13) {
            reduceSums(sums32_.get(), width_, width, height, next.get());
            sums32_.reset();
        } else {
            reduceSums(sums64_.get(), width_, width, height, next.get());
        }
        sums64_ = std::move(next);
    }
    width_ = width;
    height_ = height;
    if (!out.create(width, height, level0_.format()))
        return false;
    if (k <= 12) {
        storeMeans(sums32_.get(), k, out);
    } else {
        storeMeans(sums64_.get(), k, out);
    }
    out.addFormatFlags(formatFilled);
    return true;
}

std::uint32_t level16Format(const PixelImage& master, bool fourBitAlpha) {
    if (!master.hasAlpha())
        return 16;
    return (fourBitAlpha ? 12u : 15u) | formatAlpha;
}

bool make16BitLevel(const PixelImage& master, int level, int n, bool fourBitAlpha,
                    float attenuation, int copyMode, PixelImage& out) {
    if (!out.create(master.width(), master.height(), level16Format(master, fourBitAlpha))) {
        return false;
    }
    if (!diffuseToHighColour(master, out) && !out.convertFrom(master))
        return false;
    if (out.hasAlpha() && attenuation < 1.0f) {
        out.scaleAlpha(attenuationFactor(attenuation, level, n));
    }
    if (copyMode != 0)
        out.copyLines(copyMode);
    return true;
}

bool make8BitLevel(const PixelImage& master, const Palette& palette, int copyMode, PixelImage& out,
                   PaletteSearch* search) {
    out.setPalette(palette);
    if (!out.create(master.width(), master.height(), 8 | (master.format() & formatAlpha))) {
        return false;
    }
    if (!diffuseOntoPalette(master, out, search) && !out.convertFrom(master))
        return false;
    if (copyMode != 0)
        out.copyLines(copyMode);
    return true;
}

}  // namespace slipway
