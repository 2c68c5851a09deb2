#include "pixels/PixelImage.h"

#include <cstring>
#include <limits>
#include <new>

#include "base/ByteReader.h"
#include "pixels/HighColourDiffusion.h"
#include "pixels/PaletteDiffusion.h"
#include "pixels/PaletteSearch.h"

namespace slipway {
namespace {

std::uint16_t loadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void storeU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

std::uint8_t u8(std::uint32_t v) {
    return static_cast<std::uint8_t>(v);
}

Bgra decode8(const std::uint8_t* p, const Palette& palette, bool alpha) {
    const std::uint32_t i = p[0];
    return {palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2], u8(alpha && i == 0 ? 0 : 255)};
}

Bgra decode12(std::uint32_t v, bool alpha) {
    return {u8((v & 0xF) << 4), u8(v & 0xF0), u8(((v >> 8) & 0xF) << 4),
            u8(alpha ? (v >> 12) << 4 : 255)};
}

Bgra decode15(std::uint32_t v, bool alpha) {
    return {u8((v & 0x1F) << 3), u8(((v >> 5) & 0x1F) << 3), u8(((v >> 10) & 0x1F) << 3),
            u8(alpha ? ((v & 0x8000) ? 255 : 0) : 255)};
}

Bgra decode16(std::uint32_t v) {
    return {u8((v & 0x1F) << 3), u8(((v >> 5) & 0x3F) << 2), u8((v >> 11) << 3), 255};
}

std::uint32_t encode12(Bgra c) {
    return ((c.a >> 4) << 12) | ((c.r >> 4) << 8) | ((c.g >> 4) << 4) | (c.b >> 4);
}

std::uint32_t encode15(Bgra c) {
    return ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3) | (c.a > 64 ? 0x8000 : 0);
}

std::uint32_t encode16(Bgra c) {
    return ((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3);
}

// Decodes row y of `image` into `out`, one format switch per row.
void decodeRow(const PixelImage& image, std::uint32_t y, Bgra* out) {
    const std::uint8_t* p = image.row(y);
    const std::uint32_t w = image.width();
    const bool alpha = image.hasAlpha();
    switch (image.bitsPerPixel()) {
        case 8:
            for (std::uint32_t x = 0; x < w; ++x)
                out[x] = decode8(p + x, image.palette(), alpha);
            break;
        case 12:
            for (std::uint32_t x = 0; x < w; ++x)
                out[x] = decode12(loadU16(p + 2 * x), alpha);
            break;
        case 15:
            for (std::uint32_t x = 0; x < w; ++x)
                out[x] = decode15(loadU16(p + 2 * x), alpha);
            break;
        case 16:
            for (std::uint32_t x = 0; x < w; ++x)
                out[x] = decode16(loadU16(p + 2 * x));
            break;
        case 24:
            for (std::uint32_t x = 0; x < w; ++x)
                out[x] = {p[3 * x], p[3 * x + 1], p[3 * x + 2], 255};
            break;
        case 32:
            std::memcpy(out, p, std::size_t{w} * 4);
            break;
        default:
            break;
    }
}

// Calls f(byte, mask) with the byte of every pixel that holds its alpha bits and the mask of
// those bits; nothing for depths that store no alpha.
template <typename F>
void forEachAlphaByte(std::uint8_t* pixels, std::size_t count, std::uint32_t bitsPerPixel, F&& f) {
    std::size_t step = 0, offset = 0;
    std::uint8_t mask = 0;
    switch (bitsPerPixel) {
        case 12:
            step = 2, offset = 1, mask = 0xF0;
            break;
        case 15:
            step = 2, offset = 1, mask = 0x80;
            break;
        case 32:
            step = 4, offset = 3, mask = 0xFF;
            break;
        default:
            return;
    }
    std::uint8_t* p = pixels + offset;
    for (std::size_t i = 0; i < count; ++i, p += step)
        f(*p, mask);
}

}  // namespace

bool isPixelDepth(std::uint32_t bitsPerPixel) {
    switch (bitsPerPixel) {
        case 8:
        case 12:
        case 15:
        case 16:
        case 24:
        case 32:
            return true;
        default:
            return false;
    }
}

PixelImage::PixelImage() = default;
PixelImage::~PixelImage() = default;

PixelImage::PixelImage(const PixelImage& other)
    : pixels_(other.pixels_),
      format_(other.format_),
      width_(other.width_),
      height_(other.height_),
      palette_(other.palette_) {}

PixelImage& PixelImage::operator=(const PixelImage& other) {
    if (this != &other) {
        pixels_ = other.pixels_;
        format_ = other.format_;
        width_ = other.width_;
        height_ = other.height_;
        palette_ = other.palette_;
        dropCache();
    }
    return *this;
}

PixelImage::PixelImage(PixelImage&& other) noexcept = default;
PixelImage& PixelImage::operator=(PixelImage&& other) noexcept = default;

bool PixelImage::create(std::uint32_t width, std::uint32_t height, std::uint32_t format) {
    release();
    const std::uint32_t bits = format & kBitsPerPixelMask;
    if (width == 0 || height == 0 || !isPixelDepth(bits))
        return false;
    const std::uint64_t size = std::uint64_t{bytesPerPixelOf(bits)} * width * height;
    if (size > std::numeric_limits<std::uint32_t>::max())
        return false;
    try {
        pixels_.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        pixels_ = {};
        return false;
    }
    width_ = width;
    height_ = height;
    format_ = format & ~formatFilled;
    return true;
}

void PixelImage::release() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    format_ = 0;
    width_ = 0;
    height_ = 0;
}

void PixelImage::addFormatFlags(std::uint32_t flags) {
    if (!isEmpty())
        format_ |= flags & ~kBitsPerPixelMask;
}

void PixelImage::clearFormatFlags(std::uint32_t flags) {
    if (!isEmpty())
        format_ &= ~(flags & ~kBitsPerPixelMask);
}

std::uint32_t PixelImage::byteSize() const {
    if (isEmpty())
        return 0;
    return bytesPerPixel() * width_ * height_;
}

void PixelImage::setPalette(const std::uint8_t* bgr768) {
    std::memcpy(palette_.data(), bgr768, kPaletteBytes);
    dropCache();
}

void PixelImage::dropCache() {
    search_.reset();
}

PaletteSearch& PixelImage::paletteSearch() {
    const int first = hasAlpha() ? 1 : 0;
    if (!search_ || search_->firstIndex() != first)
        search_ = std::make_unique<PaletteSearch>(palette_, first);
    return *search_;
}

std::uint8_t PixelImage::nearestIndex(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    return paletteSearch().nearest(b, g, r);
}

Bgra PixelImage::getPixel(std::uint32_t x, std::uint32_t y) const {
    if (isEmpty() || x >= width_ || y >= height_)
        return {0, 0, 0, 0};
    const std::uint8_t* p = row(y) + std::size_t{x} * bytesPerPixel();
    switch (bitsPerPixel()) {
        case 8:
            return decode8(p, palette_, hasAlpha());
        case 12:
            return decode12(loadU16(p), hasAlpha());
        case 15:
            return decode15(loadU16(p), hasAlpha());
        case 16:
            return decode16(loadU16(p));
        case 24:
            return {p[0], p[1], p[2], 255};
        default:
            return {p[0], p[1], p[2], p[3]};
    }
}

void PixelImage::setPixel(std::uint32_t x, std::uint32_t y, Bgra value) {
    if (isEmpty() || x >= width_ || y >= height_)
        return;
    std::uint8_t* p = row(y) + std::size_t{x} * bytesPerPixel();
    switch (bitsPerPixel()) {
        case 8:
            p[0] = (hasAlpha() && value.a < 64) ? 0 : nearestIndex(value.b, value.g, value.r);
            break;
        case 12:
            storeU16(p, encode12(value));
            break;
        case 15:
            storeU16(p, encode15(value));
            break;
        case 16:
            storeU16(p, encode16(value));
            break;
        case 24:
            p[0] = value.b;
            p[1] = value.g;
            p[2] = value.r;
            break;
        default:
            std::memcpy(p, &value, 4);
            break;
    }
}

void PixelImage::appendBgra(Bgra* out) const {
    if (isEmpty())
        return;
    for (std::uint32_t y = 0; y < height_; ++y)
        decodeRow(*this, y, out + std::size_t{y} * width_);
}

void PixelImage::rowBgra(std::uint32_t y, Bgra* out) const {
    if (!isEmpty() && y < height_)
        decodeRow(*this, y, out);
}

void PixelImage::copySameDepth(const PixelImage& source) {
    std::memcpy(pixels_.data(), source.pixels_.data(), byteSize());
    if (bitsPerPixel() == 8)
        setPalette(source.palette_);
    if (!hasAlpha() || source.hasAlpha())
        return;
    forEachAlphaByte(pixels_.data(), std::size_t{width_} * height_, bitsPerPixel(),
                     [](std::uint8_t& byte, std::uint8_t mask) { byte |= mask; });
}

// Exact: every source colour is kept as it is (24 bits drop the alpha).
bool PixelImage::decodeFrom(const PixelImage& source) {
    std::vector<Bgra> sourceRow;
    try {
        sourceRow.resize(width_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (std::uint32_t y = 0; y < height_; ++y) {
        decodeRow(source, y, sourceRow.data());
        std::uint8_t* p = row(y);
        if (bitsPerPixel() == 32) {
            std::memcpy(p, sourceRow.data(), rowBytes());
            continue;
        }
        for (std::uint32_t x = 0; x < width_; ++x) {
            p[3 * x] = sourceRow[x].b;
            p[3 * x + 1] = sourceRow[x].g;
            p[3 * x + 2] = sourceRow[x].r;
        }
    }
    return true;
}

bool PixelImage::diffuseFrom(const PixelImage& source) {
    switch (bitsPerPixel()) {
        case 24:
        case 32:
            return decodeFrom(source);  // the read-back equals the value: no error ever spreads
        case 8:
            return diffuseOntoPalette(source, *this, &paletteSearch());
        default:
            return diffuseToHighColour(source, *this);
    }
}

bool PixelImage::convertFrom(const PixelImage& source) {
    if (&source == this || source.isEmpty())
        return false;
    if (isEmpty()) {
        if (!create(source.width_, source.height_, source.format_))
            return false;
    }
    const bool sameSize = width_ == source.width_ && height_ == source.height_;
    if (sameSize && bitsPerPixel() == source.bitsPerPixel()) {
        copySameDepth(source);
    } else if (sameSize) {
        if (!diffuseFrom(source))
            return false;
    } else if (bitsPerPixel() < source.bitsPerPixel()) {
        // Reduce the depth first, then the size. The temporary carries this picture's palette
        // so an 8-bit target keeps its colours through the resize.
        PixelImage reduced;
        reduced.setPalette(palette_);
        if (!reduced.create(source.width_, source.height_, format_) ||
            !reduced.convertFrom(source) || !resizeFrom(width_, height_, reduced)) {
            return false;
        }
    } else {
        // Change the size first, in the source's format (and palette), then the depth.
        PixelImage resized;
        resized.setPalette(source.palette_);
        if (!resized.create(width_, height_, source.format_) ||
            !resized.resizeFrom(width_, height_, source) || !convertFrom(resized)) {
            return false;
        }
    }
    format_ |= formatFilled;
    return true;
}

void PixelImage::toggleAlpha() {
    if (isEmpty() || !hasAlpha())
        return;
    forEachAlphaByte(pixels_.data(), std::size_t{width_} * height_, bitsPerPixel(),
                     [](std::uint8_t& byte, std::uint8_t mask) { byte ^= mask; });
}

void PixelImage::scaleAlpha(float factor) {
    if (isEmpty() || !hasAlpha())
        return;
    std::uint32_t k = 0;
    if (factor >= 1.0f) {
        k = 65536;
    } else if (factor > 0.0f) {
        k = static_cast<std::uint32_t>(factor * 65536.0f);
    }
    forEachAlphaByte(pixels_.data(), std::size_t{width_} * height_, bitsPerPixel(),
                     [k](std::uint8_t& byte, std::uint8_t mask) {
                         const std::uint32_t b = byte;
                         byte = u8((((b * k) >> 16) & mask) | (b & ~std::uint32_t{mask}));
                     });
}

void PixelImage::copyLines(int mode) {
    if (isEmpty())
        return;
    const std::size_t rowSize = rowBytes();
    if (mode & kCopyUpToDown)
        std::memmove(row(height_ - 1), row(0), rowSize);
    if (mode & kCopyDownToUp)
        std::memmove(row(0), row(height_ - 1), rowSize);
    const std::size_t bpp = bytesPerPixel();
    const std::size_t last = (width_ - 1) * bpp;
    for (std::uint32_t y = 0; y < height_; ++y) {
        std::uint8_t* p = row(y);
        if (mode & kCopyLeftToRight)
            std::memmove(p + last, p, bpp);
        if (mode & kCopyRightToLeft)
            std::memmove(p, p + last, bpp);
    }
}

bool PixelImage::readRaw(ByteReader& file, std::size_t pixelOffset, bool bottomUp,
                         std::size_t paletteOffset, std::uint32_t paletteCount,
                         std::uint32_t paletteEntryBytes) {
    if (isEmpty() || (format_ & formatFilled))
        return false;
    const std::size_t rowSize = rowBytes();
    const std::size_t padding = (format_ & formatPaddedRows) ? (4 - rowSize % 4) % 4 : 0;
    const bool withPalette = bitsPerPixel() == 8 && paletteCount > 0;
    if (withPalette && (paletteCount > 256 || (paletteEntryBytes != 3 && paletteEntryBytes != 4)))
        return false;
    // Check everything before changing anything, so a failure leaves the picture as it was.
    if (!file.seek(pixelOffset) || !file.canRead(height_, rowSize + padding))
        return false;
    if (withPalette &&
        (!file.seek(paletteOffset) || !file.canRead(paletteCount, paletteEntryBytes))) {
        return false;
    }
    file.seek(pixelOffset);
    for (std::uint32_t k = 0; k < height_; ++k) {
        const std::uint32_t y = bottomUp ? height_ - 1 - k : k;
        file.bytes(row(y), rowSize);
        file.skip(padding);
    }
    if (withPalette) {
        file.seek(paletteOffset);
        for (std::uint32_t i = 0; i < paletteCount; ++i) {
            std::uint8_t entry[4] = {};
            file.bytes(entry, paletteEntryBytes);
            std::uint8_t* out = palette_.data() + i * 3;
            if (paletteEntryBytes == 4) {
                out[0] = entry[2], out[1] = entry[1], out[2] = entry[0];
            } else {
                out[0] = entry[0], out[1] = entry[1], out[2] = entry[2];
            }
        }
        dropCache();
    }
    if (file.failed())
        return false;
    format_ |= formatFilled;
    return true;
}

}  // namespace slipway
