#include "pixels/PixelImage.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "base/ByteReader.h"

namespace slipway {

// Exact nearest-palette search for the encoding rule, fast. Colour space is split into
// 8 x 8 x 8 cells; the first query in a cell lists the entries that can be nearest to any
// colour in it (those whose smallest possible distance to the cell does not exceed the
// smallest largest-possible distance of any entry). Later queries in that cell only scan
// that short list. Lists keep index order, so the tie rule (lowest index) is kept.
class NearestPaletteCache {
  public:
    static constexpr int kCellBits = 3;
    static constexpr int kCellsPerSide = 256 >> kCellBits;
    static constexpr std::uint32_t kUnbuilt = 0xFFFFFFFFu;

    NearestPaletteCache(const Palette& palette, std::uint32_t firstIndex)
        : first(firstIndex),
          palette_(palette),
          start_(kCellsPerSide * kCellsPerSide * kCellsPerSide, kUnbuilt) {}

    std::uint8_t nearest(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
        const std::size_t cell = (std::size_t{r} >> kCellBits) * kCellsPerSide * kCellsPerSide +
                                 (std::size_t{g} >> kCellBits) * kCellsPerSide + (b >> kCellBits);
        if (start_[cell] == kUnbuilt)
            build(cell, b >> kCellBits, g >> kCellBits, r >> kCellBits);
        // A list is stored as its length followed by the entries.
        const std::uint8_t* list = pool_.data() + start_[cell] + 1;
        const std::uint32_t n = list[-1] + 1u;
        std::uint8_t best = list[0];
        int bestDistance = distance(best, b, g, r);
        for (std::uint32_t k = 1; k < n; ++k) {
            const int d = distance(list[k], b, g, r);
            if (d < bestDistance) {
                bestDistance = d;
                best = list[k];
            }
        }
        return best;
    }

    const std::uint32_t first;

  private:
    int distance(std::uint32_t i, int b, int g, int r) const {
        const int db = palette_[i * 3] - b;
        const int dg = palette_[i * 3 + 1] - g;
        const int dr = palette_[i * 3 + 2] - r;
        return db * db + 3 * dg * dg + 2 * dr * dr;
    }

    void build(std::size_t cell, int cb, int cg, int cr) {
        constexpr int kSide = 1 << kCellBits;
        // Per channel: the nearest and farthest a value of the cell can be from `v`.
        auto span = [](int v, int lo, int& nearOut, int& farOut) {
            const int hi = lo + kSide - 1;
            nearOut = v < lo ? lo - v : (v > hi ? v - hi : 0);
            farOut = std::max(v - lo, hi - v);
        };
        std::array<int, 256> nearest{};
        int threshold = std::numeric_limits<int>::max();
        for (std::uint32_t i = first; i < 256; ++i) {
            int nb, fb, ng, fg, nr, fr;
            span(palette_[i * 3], cb * kSide, nb, fb);
            span(palette_[i * 3 + 1], cg * kSide, ng, fg);
            span(palette_[i * 3 + 2], cr * kSide, nr, fr);
            nearest[i] = nb * nb + 3 * ng * ng + 2 * nr * nr;
            threshold = std::min(threshold, fb * fb + 3 * fg * fg + 2 * fr * fr);
        }
        const std::size_t at = pool_.size();
        pool_.push_back(0);
        for (std::uint32_t i = first; i < 256; ++i) {
            if (nearest[i] <= threshold)
                pool_.push_back(static_cast<std::uint8_t>(i));
        }
        // Never empty: the entry that sets the threshold is always listed.
        pool_[at] = static_cast<std::uint8_t>(pool_.size() - at - 2);
        start_[cell] = static_cast<std::uint32_t>(at);
    }

    Palette palette_;
    std::vector<std::uint32_t> start_;
    std::vector<std::uint8_t> pool_;
};

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

std::uint8_t clampChannel(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Error cells are signed bytes; sums wrap modulo 256 on purpose.
void addCell(std::int8_t& cell, int delta) {
    cell = static_cast<std::int8_t>(cell + delta);
}

// The Floyd-Steinberg loop over one target format. `put` stores the value at column x of the
// current row and returns what reading it back gives (only blue, green, red are used).
template <typename Put>
void diffuse(const PixelImage& source, std::uint32_t width, std::uint32_t height,
             std::int8_t* cells, Bgra* sourceRow, Put&& put) {
    const std::size_t rowCells = std::size_t{width} * 3;
    for (std::uint32_t y = 0; y < height; ++y) {
        decodeRow(source, y, sourceRow);
        std::int8_t* cur = cells + (y & 1) * rowCells;
        std::int8_t* next = cells + ((y + 1) & 1) * rowCells;
        put.beginRow(y);
        for (std::uint32_t x = 0; x < width; ++x) {
            const Bgra s = sourceRow[x];
            std::int8_t* c = cur + std::size_t{x} * 3;
            const Bgra v{clampChannel(s.b + c[0]), clampChannel(s.g + c[1]),
                         clampChannel(s.r + c[2]), s.a};
            const Bgra back = put(x, v);
            const int e[3] = {v.b - back.b, v.g - back.g, v.r - back.r};
            std::int8_t* n = next + std::size_t{x} * 3;
            for (int k = 0; k < 3; ++k) {
                c[k] = 0;
                addCell(n[k], (5 * e[k] + 8) >> 4);
                if (x >= 1)
                    addCell(n[k - 3], (3 * e[k] + 8) >> 4);
                if (x + 1 < width) {
                    addCell(c[k + 3], (7 * e[k] + 8) >> 4);
                    addCell(n[k + 3], (e[k] + 8) >> 4);
                }
            }
        }
    }
}

struct Put8 {
    PixelImage& image;
    std::uint8_t* row = nullptr;
    void beginRow(std::uint32_t y) { row = image.row(y); }
    Bgra operator()(std::uint32_t x, Bgra v) {
        const std::uint8_t i =
            (image.hasAlpha() && v.a < 64) ? 0 : image.nearestIndex(v.b, v.g, v.r);
        row[x] = i;
        const Palette& p = image.palette();
        return {p[i * 3], p[i * 3 + 1], p[i * 3 + 2], 0};
    }
};

struct Put12 {
    PixelImage& image;
    std::uint8_t* row = nullptr;
    void beginRow(std::uint32_t y) { row = image.row(y); }
    Bgra operator()(std::uint32_t x, Bgra v) {
        storeU16(row + 2 * x, encode12(v));
        return {u8(v.b & 0xF0), u8(v.g & 0xF0), u8(v.r & 0xF0), 0};
    }
};

struct Put15 {
    PixelImage& image;
    std::uint8_t* row = nullptr;
    void beginRow(std::uint32_t y) { row = image.row(y); }
    Bgra operator()(std::uint32_t x, Bgra v) {
        storeU16(row + 2 * x, encode15(v));
        return {u8(v.b & 0xF8), u8(v.g & 0xF8), u8(v.r & 0xF8), 0};
    }
};

struct Put16 {
    PixelImage& image;
    std::uint8_t* row = nullptr;
    void beginRow(std::uint32_t y) { row = image.row(y); }
    Bgra operator()(std::uint32_t x, Bgra v) {
        storeU16(row + 2 * x, encode16(v));
        return {u8(v.b & 0xF8), u8(v.g & 0xFC), u8(v.r & 0xF8), 0};
    }
};

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
    cache_.reset();
}

std::uint8_t PixelImage::nearestIndex(std::uint8_t b, std::uint8_t g, std::uint8_t r) {
    const std::uint32_t first = hasAlpha() ? 1 : 0;
    if (!cache_ || cache_->first != first)
        cache_ = std::make_unique<NearestPaletteCache>(palette_, first);
    return cache_->nearest(b, g, r);
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

void PixelImage::copySameDepth(const PixelImage& source) {
    std::memcpy(pixels_.data(), source.pixels_.data(), byteSize());
    if (bitsPerPixel() == 8)
        setPalette(source.palette_);
    if (!hasAlpha() || source.hasAlpha())
        return;
    const std::size_t count = std::size_t{width_} * height_;
    std::uint8_t* p = pixels_.data();
    switch (bitsPerPixel()) {
        case 12:
            for (std::size_t i = 0; i < count; ++i)
                p[2 * i + 1] |= 0xF0;
            break;
        case 15:
            for (std::size_t i = 0; i < count; ++i)
                p[2 * i + 1] |= 0x80;
            break;
        case 32:
            for (std::size_t i = 0; i < count; ++i)
                p[4 * i + 3] = 0xFF;
            break;
        default:
            break;
    }
}

bool PixelImage::diffuseFrom(const PixelImage& source) {
    std::vector<std::int8_t> cells;
    std::vector<Bgra> sourceRow;
    try {
        cells.assign(std::size_t{width_} * 3 * 2, 0);
        sourceRow.resize(width_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    switch (bitsPerPixel()) {
        case 8:
            diffuse(source, width_, height_, cells.data(), sourceRow.data(), Put8{*this});
            break;
        case 12:
            diffuse(source, width_, height_, cells.data(), sourceRow.data(), Put12{*this});
            break;
        case 15:
            diffuse(source, width_, height_, cells.data(), sourceRow.data(), Put15{*this});
            break;
        case 16:
            diffuse(source, width_, height_, cells.data(), sourceRow.data(), Put16{*this});
            break;
        case 24:
            // Exact: the read-back equals the value, so no error ever spreads.
            for (std::uint32_t y = 0; y < height_; ++y) {
                decodeRow(source, y, sourceRow.data());
                std::uint8_t* p = row(y);
                for (std::uint32_t x = 0; x < width_; ++x) {
                    p[3 * x] = sourceRow[x].b;
                    p[3 * x + 1] = sourceRow[x].g;
                    p[3 * x + 2] = sourceRow[x].r;
                }
            }
            break;
        case 32:
            for (std::uint32_t y = 0; y < height_; ++y) {
                decodeRow(source, y, sourceRow.data());
                std::memcpy(row(y), sourceRow.data(), rowBytes());
            }
            break;
        default:
            return false;
    }
    return true;
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
    const std::size_t count = std::size_t{width_} * height_;
    std::uint8_t* p = pixels_.data();
    switch (bitsPerPixel()) {
        case 12:
            for (std::size_t i = 0; i < count; ++i)
                p[2 * i + 1] ^= 0xF0;
            break;
        case 15:
            for (std::size_t i = 0; i < count; ++i)
                p[2 * i + 1] ^= 0x80;
            break;
        case 32:
            for (std::size_t i = 0; i < count; ++i)
                p[4 * i + 3] ^= 0xFF;
            break;
        default:
            break;
    }
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
    std::size_t step = 0;
    std::size_t offset = 0;
    std::uint32_t mask = 0;
    switch (bitsPerPixel()) {
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
    const std::size_t count = std::size_t{width_} * height_;
    std::uint8_t* p = pixels_.data() + offset;
    for (std::size_t i = 0; i < count; ++i, p += step) {
        const std::uint32_t b = *p;
        *p = u8((((b * k) >> 16) & mask) | (b & ~mask));
    }
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
