// Converts a small fuzzed TGA with fuzzed options and checks the TF bytes against the
// reference conversion. The first two input bytes choose the options; the rest is the file.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "ReferencePipeline.h"
#include "base/UserPrompt.h"
#include "pixels/TextureCommands.h"
#include "pixels/TfFile.h"
#include "pixels/TgaFile.h"

namespace {

constexpr std::uint32_t kMaxSide = 48;

slipway::ConvertOptions optionsFrom(std::uint8_t a, std::uint8_t b) {
    slipway::ConvertOptions o;
    o.chain16.enabled = (a & 1) == 0 || (a & 2) == 0;
    o.chain8.enabled = (a & 2) == 0;
    o.chain16.mode =
        (a & 4) ? slipway::MipCountMode::NumberMips : slipway::MipCountMode::MinimumSize;
    o.chain8.mode =
        (a & 8) ? slipway::MipCountMode::NumberMips : slipway::MipCountMode::MinimumSize;
    o.chain16.slider =
        o.chain16.mode == slipway::MipCountMode::NumberMips ? 1 + (b & 15) : (b & 15);
    o.chain8.slider = o.chain8.mode == slipway::MipCountMode::NumberMips ? 1 + (b >> 4) : (b >> 4);
    o.fourBitAlpha = (a & 16) != 0;
    o.attenuationPosition = (a >> 5) % 10;
    o.verticalCopy = (b >> 2) % 3;
    o.horizontalCopy = (a >> 6) % 3;
    return o;
}

slipway::reference::Settings referenceSettings(const slipway::ConvertOptions& o) {
    slipway::reference::Settings s;
    s.chain16 = {o.chain16.enabled, o.chain16.mode == slipway::MipCountMode::NumberMips,
                 o.chain16.slider};
    s.chain8 = {o.chain8.enabled, o.chain8.mode == slipway::MipCountMode::NumberMips,
                o.chain8.slider};
    s.fourBitAlpha = o.fourBitAlpha;
    s.attenuationPosition = o.attenuationPosition;
    s.verticalCopy = o.verticalCopy;
    s.horizontalCopy = o.horizontalCopy;
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 + slipway::kTgaHeaderBytes)
        return 0;
    const slipway::ConvertOptions options = optionsFrom(data[0], data[1]);
    const std::span<const std::uint8_t> file(data + 2, size - 2);
    slipway::TgaFile tga("fuzz.tga");
    if (!tga.readInfoFrom(file) || tga.width > kMaxSide || tga.height > kMaxSide ||
        !tga.loadPictureFrom(file)) {
        return 0;
    }
    slipway::reference::Picture source;
    const slipway::PixelImage& p = tga.picture;
    source.create(p.width(), p.height(), static_cast<int>(p.bitsPerPixel()), p.hasAlpha());
    std::memcpy(source.bytes.data(), p.pixels(), p.byteSize());
    std::memcpy(source.palette, p.palette().data(), 768);

    slipway::ScriptedPrompt prompt;
    slipway::CommandContext context(prompt);
    slipway::TextureChains chains;
    if (slipway::buildTextureChains(tga.picture, "fuzz.tga", options, context, chains) !=
        slipway::FileOutcome::Done) {
        std::abort();  // no memory shortage at these sizes
    }
    const std::vector<std::uint8_t> actual = slipway::encodeTf(
        chains.levels16.data(), chains.count16, chains.levels8.data(), chains.count8);

    std::vector<std::string> messages;
    const std::vector<std::uint8_t> expected = slipway::reference::convertToTf(
        std::move(source), referenceSettings(options), "fuzz.tga", &messages);
    if (actual != expected || prompt.texts() != messages)
        std::abort();
    return 0;
}
