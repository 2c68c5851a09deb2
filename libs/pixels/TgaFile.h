#pragma once
// The ImageFile handler for TGA pictures: uncompressed and run-length encoded true-colour,
// colour-mapped and grey pictures are read; uncompressed pictures are written.

#include <cstdint>
#include <span>
#include <vector>

#include "pixels/ImageFile.h"

namespace slipway {

class UserPrompt;

inline constexpr std::size_t kTgaHeaderBytes = 18;

class TgaFile : public ImageFile {
  public:
    TgaFile() = default;
    explicit TgaFile(std::string filePath) : ImageFile(std::move(filePath)) {}

    bool loadPicture() override;
    bool isValid() const override;
    bool readInfo() override;
    std::unique_ptr<ImageFile> clone() const override;

    // The same on bytes already in memory (the whole file, or at least the header).
    bool readInfoFrom(std::span<const std::uint8_t> data);
    bool loadPictureFrom(std::span<const std::uint8_t> data);
    static bool isValidData(std::span<const std::uint8_t> data);

    // Writes the picture to `path` atomically. When the file exists and `prompt` is given,
    // asks "Overwrite file " + path (Yes/No); No writes nothing and counts as success.
    bool writeTga(UserPrompt* prompt = nullptr);
};

// The bytes writeTga stores for `picture`; empty for an empty picture.
std::vector<std::uint8_t> encodeTga(const PixelImage& picture);

}  // namespace slipway
