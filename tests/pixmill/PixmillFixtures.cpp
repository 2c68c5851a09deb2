#include "PixmillFixtures.h"

#include <gtest/gtest.h>

#include "PixelPatterns.h"
#include "TestFiles.h"
#include "pixels/PixelImage.h"
#include "pixels/TgaFile.h"

namespace slipway::test {

void writeTgaPicture(const std::string& path, std::uint32_t width, std::uint32_t height,
                     std::uint32_t format, std::uint32_t seed) {
    PixelImage picture;
    ASSERT_TRUE(picture.create(width, height, format));
    const auto pixels = makePattern(Pattern::Blocks, width, height, seed);
    for (std::uint32_t i = 0; i < width * height; ++i)
        picture.setPixel(i % width, i / width, pixels[i]);
    writeBytes(path, encodeTga(picture));
}

void writeTfTexture(const std::string& path, std::uint32_t width, std::uint32_t height,
                    std::uint32_t format, const ConvertOptions& options) {
    const std::string source = path + ".source.tga";
    writeTgaPicture(source, width, height, format);
    ScriptedPrompt prompt;
    CommandContext context(prompt);
    ASSERT_EQ(convertTgaToTf(source, path, options, context), FileOutcome::Done);
    std::remove(source.c_str());
}

}  // namespace slipway::test
