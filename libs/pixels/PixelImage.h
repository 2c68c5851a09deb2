#pragma once
// The converter's raster picture: row-major pixels (row 0 is the top row) in one of six
// formats, with a 256-entry blue-green-red palette for 8-bit pictures. Every operation
// reports failure by its result and leaves the picture unchanged or empty.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "pixels/Bgra.h"

namespace slipway {

class ByteReader;
class PaletteSearch;

// Format word: bits 0-7 are the bits per pixel (8, 12, 15, 16, 24 or 32), plus these flags.
inline constexpr std::uint32_t kBitsPerPixelMask = 0xFF;
// 8 bits: palette index 0 is transparent; 12 and 15 bits: the alpha bits count.
inline constexpr std::uint32_t formatAlpha = 0x100;
// readRaw only: every row in the file is padded to a multiple of 4 bytes.
inline constexpr std::uint32_t formatPaddedRows = 0x200;
// The pixels were filled by readRaw, a conversion or a resize; create clears it.
inline constexpr std::uint32_t formatFilled = 0x400;

// Copy-lines mode bits (horizontal choice * 4 + vertical choice).
inline constexpr int kCopyUpToDown = 1;
inline constexpr int kCopyDownToUp = 2;
inline constexpr int kCopyLeftToRight = 4;
inline constexpr int kCopyRightToLeft = 8;

inline constexpr std::size_t kPaletteBytes = 256 * 3;
using Palette = std::array<std::uint8_t, kPaletteBytes>;

// True for 8, 12, 15, 16, 24 and 32.
bool isPixelDepth(std::uint32_t bitsPerPixel);
// (bitsPerPixel + 7) / 8.
inline std::uint32_t bytesPerPixelOf(std::uint32_t bitsPerPixel) {
    return (bitsPerPixel + 7) / 8;
}

class PixelImage {
  public:
    PixelImage();
    ~PixelImage();
    // Copies pixels, format, size and palette.
    PixelImage(const PixelImage& other);
    PixelImage& operator=(const PixelImage& other);
    PixelImage(PixelImage&& other) noexcept;
    PixelImage& operator=(PixelImage&& other) noexcept;

    // Frees any old pixels and allocates width x height pixels of `format` (without
    // formatFilled); contents are undefined (zero here). Fails, leaving the picture empty, for a
    // zero size, an unknown depth, a byte count beyond 32 bits or no memory. Keeps the palette.
    bool create(std::uint32_t width, std::uint32_t height, std::uint32_t format);
    // Frees the pixels; the format becomes 0. Keeps the palette.
    void release();

    bool isEmpty() const { return format_ == 0; }
    std::uint32_t width() const { return width_; }
    std::uint32_t height() const { return height_; }
    std::uint32_t format() const { return format_; }
    std::uint32_t bitsPerPixel() const { return format_ & kBitsPerPixelMask; }
    std::uint32_t bytesPerPixel() const { return bytesPerPixelOf(bitsPerPixel()); }
    bool hasAlpha() const { return (format_ & formatAlpha) != 0; }
    // Sets flags (formatAlpha, formatPaddedRows, formatFilled) on a non-empty picture.
    void addFormatFlags(std::uint32_t flags);
    void clearFormatFlags(std::uint32_t flags);

    // bytesPerPixel x width x height; 0 for an empty picture.
    std::uint32_t byteSize() const;
    std::uint8_t* pixels() { return pixels_.data(); }
    const std::uint8_t* pixels() const { return pixels_.data(); }
    std::span<const std::uint8_t> bytes() const { return {pixels_.data(), byteSize()}; }
    std::uint8_t* row(std::uint32_t y) { return pixels_.data() + rowBytes() * y; }
    const std::uint8_t* row(std::uint32_t y) const { return pixels_.data() + rowBytes() * y; }
    std::uint32_t rowBytes() const { return bytesPerPixel() * width_; }

    // Palette: 256 entries of blue, green, red.
    const Palette& palette() const { return palette_; }
    void setPalette(const std::uint8_t* bgr768);
    void setPalette(const Palette& palette) { setPalette(palette.data()); }

    // Decodes one pixel; (0, 0, 0, 0) outside the picture or for an empty one.
    Bgra getPixel(std::uint32_t x, std::uint32_t y) const;
    // Encodes one pixel; nothing outside the picture or for an empty one.
    void setPixel(std::uint32_t x, std::uint32_t y, Bgra value);
    // Every pixel, row by row, as Bgra into `out` (width x height entries).
    void appendBgra(Bgra* out) const;
    // The pixels of row y as Bgra into `out` (width entries); nothing outside the picture.
    void rowBgra(std::uint32_t y, Bgra* out) const;

    // Fills this picture from `source` in this picture's format (copy, error diffusion,
    // resampling as the sizes and depths require). Fails for itself or an empty source.
    bool convertFrom(const PixelImage& source);
    // This picture becomes `source` resampled by area to width x height, in the source's format.
    bool resizeFrom(std::uint32_t width, std::uint32_t height, const PixelImage& source);
    // This picture becomes level k (k >= 1) of `source` by 2^k box filtering; stays empty, with
    // success, when a side would be 0.
    bool makeMip(const PixelImage& source, int k);

    // Inverts the stored alpha bits (12, 15 and 32 bits with formatAlpha only).
    void toggleAlpha();
    // Multiplies the alpha-carrying byte by `factor` (0..1), formatAlpha pictures only.
    void scaleAlpha(float factor);
    // Copies an edge row and/or column over the opposite one (kCopy* bits).
    void copyLines(int mode);

    // Reads uncompressed rows starting at `pixelOffset` of `file` (top-down, or bottom-up) and,
    // for 8-bit pictures, `paletteCount` (at most 256) entries of `paletteEntryBytes` (3: blue,
    // green, red; 4: red, green, blue, unused) at `paletteOffset`. Needs a created picture
    // without formatFilled; sets formatFilled. Fails on any short read; safe on untrusted data.
    bool readRaw(ByteReader& file, std::size_t pixelOffset, bool bottomUp,
                 std::size_t paletteOffset, std::uint32_t paletteCount,
                 std::uint32_t paletteEntryBytes);

    // Nearest palette entry for an opaque colour under the encoding rule of 8-bit pixels
    // (searched from index 1 when the picture has alpha). The picture keeps a PaletteSearch
    // for its palette, so one picture must not be encoded from two threads at once.
    std::uint8_t nearestIndex(std::uint8_t b, std::uint8_t g, std::uint8_t r);

  private:
    bool diffuseFrom(const PixelImage& source);
    bool decodeFrom(const PixelImage& source);
    void copySameDepth(const PixelImage& source);
    PaletteSearch& paletteSearch();
    void dropCache();

    std::vector<std::uint8_t> pixels_;
    std::uint32_t format_ = 0;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    Palette palette_{};
    std::unique_ptr<PaletteSearch> search_;  // for palette_, made when first needed
};

}  // namespace slipway
