#include "engine/TextureStore.h"

#include <cmath>

#include "base/FileIo.h"
#include "base/Format.h"
#include "base/Paths.h"

namespace slipway {

namespace {

constexpr int kFillSide = 8;
// Gives up on finding an unused fill colour after this many draws.
constexpr int kFillAttempts = 100000;

std::string storedName(std::string_view path) {
    std::string name = baseName(path);
    if (name.size() > TextureStore::kNameWidth)
        name.resize(TextureStore::kNameWidth);
    return name;
}

bool isTfPath(std::string_view path) {
    return equalsIgnoringCase(splitPath(path).extension, ".tf");
}

unsigned channel(float value, unsigned maxValue) {
    if (!(value > 0))
        return 0;
    if (value >= 1)
        return maxValue;
    return static_cast<unsigned>(static_cast<float>(maxValue) * value);
}

}  // namespace

TextureStore::TextureStore(const ViewerRules& rules)
    : rules_(rules), entries_(static_cast<std::size_t>(rules.textureSlots)) {}

int TextureStore::findName(std::string_view name, bool ignoreCase) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TextureEntry& e = entries_[i];
        if (!e.inUse)
            continue;
        if (ignoreCase ? equalsIgnoringCase(e.name, name) : e.name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TextureStore::lowestFreeSlot() const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (!entries_[i].inUse)
            return static_cast<int>(i);
    }
    return -1;
}

void TextureStore::store(int slot, std::string name, DecodedTexture&& texture) {
    TextureEntry& e = entries_[static_cast<std::size_t>(slot)];
    e.inUse = true;
    e.name = std::move(name);
    e.width = texture.width;
    e.height = texture.height;
    e.format = texture.format;
    e.hasAlpha = texture.hasAlpha;
    e.pixels = std::move(texture.pixels);
    e.serial = nextSerial_++;
    ++textureCount_;
    ++revision_;
}

bool TextureStore::loadTexture(const std::string& path, DebugTrace& trace) {
    return load(path, nullptr, trace);
}

bool TextureStore::loadTextureFromBytes(const std::string& path,
                                        std::span<const std::uint8_t> bytes, DebugTrace& trace) {
    return load(path, &bytes, trace);
}

bool TextureStore::load(const std::string& path, const std::span<const std::uint8_t>* bytes,
                        DebugTrace& trace) {
    if (textureCount_ >= capacity())
        return false;
    std::string name = storedName(path);
    if (findName(name, rules_.textureNamesIgnoreCase) >= 0)
        return true;
    const int slot = lowestFreeSlot();
    if (slot < 0)
        return false;
    if (rules_.tracesTextureLoads) {
        trace.trace(formatText("%d TEXTURE: %s", textureCount_, path.c_str()));
    }
    std::optional<std::vector<std::uint8_t>> fileBytes;
    std::span<const std::uint8_t> data;
    if (bytes) {
        data = *bytes;
    } else {
        fileBytes = readFileBytes(path);
        if (!fileBytes) {
            trace.trace(formatText("Can't Open File %s ", path.c_str()));
            return false;
        }
        data = *fileBytes;
    }
    DecodedTexture texture;
    const bool ok = isTfPath(path) ? decodeTf(data, texture) : decodeTga(data, rules_.tga, texture);
    if (!ok)
        return false;
    store(slot, std::move(name), std::move(texture));
    return true;
}

std::uint32_t TextureStore::textureIndex(std::string_view baseName) const {
    const int found = findName(baseName.substr(0, kNameWidth), false);
    return found < 0 ? 0u : static_cast<std::uint32_t>(found);
}

void TextureStore::releaseTextures() {
    redMark_ = blueMark_ = -1;
    if (textureCount_ == 0)
        return;
    for (TextureEntry& e : entries_)
        e = TextureEntry{};
    textureCount_ = 0;
    ++revision_;
}

const TextureEntry* TextureStore::entry(std::uint32_t index) const {
    if (index >= entries_.size() || !entries_[index].inUse)
        return nullptr;
    return &entries_[index];
}

bool TextureStore::textureName(std::uint32_t index, std::string& name) const {
    const TextureEntry* e = entry(index);
    if (!e)
        return false;
    name = e->name;
    return true;
}

FillTexture TextureStore::addFillTexture(float red, float green, float blue, FillRandom& random,
                                         DebugTrace& trace) {
    if (textureCount_ >= capacity())
        return {};
    const int slot = lowestFreeSlot();
    if (slot < 0)
        return {};
    trace.trace(formatText("%d TEXTURE: FillColor", textureCount_));
    // The pick buffer is 5:6:5: red 11, green 5, blue 0.
    for (int attempt = 0; attempt < kFillAttempts; ++attempt) {
        const std::uint32_t color =
            (channel(red, 31) << 11) | (channel(green, 63) << 5) | channel(blue, 31);
        std::string name = formatText("%d", static_cast<int>(color));
        if (findName(name, false) < 0) {
            DecodedTexture texture;
            texture.width = texture.height = kFillSide;
            texture.format = TexturePixelFormat::Rgb565;
            texture.hasAlpha = false;
            texture.pixels.assign(kFillSide * kFillSide, static_cast<std::uint16_t>(color));
            store(slot, std::move(name), std::move(texture));
            return {static_cast<std::uint32_t>(slot), color};
        }
        red = static_cast<float>(random.next()) * 0.6f / FillRandom::kMax;
        green = static_cast<float>(random.next()) / FillRandom::kMax;
        blue = static_cast<float>(random.next()) * 0.6f / FillRandom::kMax;
    }
    return {};
}

int TextureStore::markingTexture(int mark) const {
    switch (mark) {
        case 1:
            return redMark_;
        case 2:
            return blueMark_;
        default:
            return -1;
    }
}

void TextureStore::makeMarkingTextures(FillRandom& random, DebugTrace& trace) {
    // Neither colour can be refused as taken: fill colours keep red and blue below 0.6.
    const auto make = [&](float red, float blue) {
        const FillTexture fill = addFillTexture(red, 0.0f, blue, random, trace);
        return fill.color != 0 ? static_cast<int>(fill.index) : -1;
    };
    if (redMark_ == -1)
        redMark_ = make(1.0f, 0.0f);
    if (blueMark_ == -1)
        blueMark_ = make(0.0f, 1.0f);
}

}  // namespace slipway
