#pragma once
// The ImageFile handler for TF textures: header, one level of either chain, and writing.

#include <cstdint>
#include <span>
#include <vector>

#include "pixels/ImageFile.h"
#include "pixels/TfImage.h"

namespace slipway {

struct TfHeader {
    std::uint8_t pixelFormatCode = 0;
    std::uint8_t count16 = 0;
    std::uint8_t count8 = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Parses the 16-byte header; fails when fewer bytes are given, a count exceeds 16 or a side is
// 0 or above kMaxPictureSide. Does not check the format code.
bool parseTfHeader(std::span<const std::uint8_t> data, TfHeader& header);
// Byte offset of the 16-bit level `level`, of the palette, and of the 8-bit level `level`.
std::uint64_t tfLevel16Offset(const TfHeader& header, std::uint32_t level);
std::uint64_t tfPaletteOffset(const TfHeader& header);
std::uint64_t tfLevel8Offset(const TfHeader& header, std::uint32_t level);

class TfFile : public ImageFile {
  public:
    TfFile() = default;
    explicit TfFile(std::string filePath) : ImageFile(std::move(filePath)) {}

    bool loadPicture() override;
    bool isValid() const override;
    bool readInfo() override;
    std::unique_ptr<ImageFile> clone() const override;

    // The same on bytes already in memory (the whole file).
    bool readInfoFrom(std::span<const std::uint8_t> data);
    bool loadPictureFrom(std::span<const std::uint8_t> data);

    // Writes a TF file at `path` atomically: 16-bit levels (16, 15 or 12 bits per pixel),
    // then, with 8-bit levels, the first one's palette and the levels. Fails before touching
    // the disk for a level of the wrong depth or a count above 16. The levels are not changed.
    bool writeTf(const PixelImage* levels16, std::uint32_t count16, const PixelImage* levels8,
                 std::uint32_t count8);
    bool writeTf(const TfImage& image);
};

// The bytes writeTf stores, built in memory; empty when the levels are unsuitable.
std::vector<std::uint8_t> encodeTf(const PixelImage* levels16, std::uint32_t count16,
                                   const PixelImage* levels8, std::uint32_t count8);

}  // namespace slipway
