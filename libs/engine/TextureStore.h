#pragma once
// The viewer window's textures, found by base name and handed out by index. This is the CPU
// side: each entry holds its pixels decoded to one of the two 16-bit device formats, rows from
// the top; the renderer uploads them. Index 0 also stands for a name that is not there.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/DebugTrace.h"
#include "engine/FillRandom.h"
#include "engine/ViewerRules.h"

namespace slipway {

enum class TexturePixelFormat {
    Rgb565,    // red 15-11, green 10-5, blue 4-0; opaque
    Argb1555,  // alpha 15 (1 = opaque), red 14-10, green 9-5, blue 4-0
};

struct TextureEntry {
    bool inUse = false;
    std::string name;  // base name, at most 32 characters
    int width = 0;
    int height = 0;
    TexturePixelFormat format = TexturePixelFormat::Argb1555;
    bool hasAlpha = false;              // drawn with alpha testing
    std::vector<std::uint16_t> pixels;  // width × height, row by row from the top
    // Changes whenever the entry is filled, so a renderer can tell a reloaded slot apart.
    std::uint64_t serial = 0;

    std::uint16_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Decoded pixels of one texture file (before it is given a slot).
struct DecodedTexture {
    int width = 0;
    int height = 0;
    TexturePixelFormat format = TexturePixelFormat::Argb1555;
    bool hasAlpha = false;
    std::vector<std::uint16_t> pixels;

    std::uint16_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// Sides above this are refused, as are sides of 0.
inline constexpr std::uint32_t kMaxTextureSide = 8192;

// Texture file decoders. Safe on untrusted bytes: false when the header is unusable or the
// pixel data is shorter than the header says.
bool decodeTf(std::span<const std::uint8_t> bytes, DecodedTexture& out);
bool decodeTga(std::span<const std::uint8_t> bytes, const TgaDecodeRules& rules,
               DecodedTexture& out);

struct FillTexture {
    std::uint32_t index = 0;  // 0 when no texture could be made
    std::uint32_t color = 0;  // the colour value in the pick buffer's 5:6:5 format
};

class TextureStore {
  public:
    static constexpr std::size_t kNameWidth = 32;

    explicit TextureStore(const ViewerRules& rules = kShipviewRules);

    const ViewerRules& rules() const { return rules_; }
    int capacity() const { return static_cast<int>(entries_.size()); }
    int textureCount() const { return textureCount_; }

    // True when the texture is in the store afterwards (loaded now or already there under the
    // same base name); false when the store is full or the file cannot be read or decoded.
    // A ".tf" extension (any case) is read as TF, anything else as TGA.
    bool loadTexture(const std::string& path, DebugTrace& trace);
    // The same with the file's bytes already in memory; `path` gives the name and the kind.
    bool loadTextureFromBytes(const std::string& path, std::span<const std::uint8_t> bytes,
                              DebugTrace& trace);
    // The lowest in-use index whose name equals `baseName` (cut to 32 characters) exactly;
    // 0 when none.
    std::uint32_t textureIndex(std::string_view baseName) const;
    // Empties the store (nothing happens when it is empty already).
    void releaseTextures();

    // The entry at `index`, or null when it is out of range or free.
    const TextureEntry* entry(std::uint32_t index) const;
    // Bumped by every change to any entry.
    std::uint64_t revision() const { return revision_; }

    // Model editor: the name of an in-use entry; false for a free or out-of-range index.
    bool textureName(std::uint32_t index, std::string& name) const;
    // Model editor: an 8 × 8 texture of one colour (red, green, blue in 0 to 1), whose colour
    // value differs from every other fill texture's; clashes are redrawn from `random`.
    FillTexture addFillTexture(float red, float green, float blue, FillRandom& random,
                               DebugTrace& trace);
    // Model editor: the texture meshes are drawn with while marked `mark` (1 red, 2 blue);
    // -1 when it has not been made since the store was last emptied.
    int markingTexture(int mark) const;
    // Model editor: makes the red and the blue marking texture where they are missing.
    void makeMarkingTextures(FillRandom& random, DebugTrace& trace);

  private:
    bool load(const std::string& path, const std::span<const std::uint8_t>* bytes,
              DebugTrace& trace);
    int findName(std::string_view name, bool ignoreCase) const;
    int lowestFreeSlot() const;
    void store(int slot, std::string name, DecodedTexture&& texture);

    const ViewerRules& rules_;
    std::vector<TextureEntry> entries_;
    int textureCount_ = 0;
    std::uint64_t revision_ = 0;
    std::uint64_t nextSerial_ = 1;
    int redMark_ = -1;
    int blueMark_ = -1;
};

}  // namespace slipway
