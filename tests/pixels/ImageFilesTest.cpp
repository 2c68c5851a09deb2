#include "pixels/ImageFiles.h"

#include <gtest/gtest.h>

#include "pixels/BmpFile.h"
#include "pixels/TfFile.h"
#include "pixels/TgaFile.h"

namespace slipway {
namespace {

enum class Kind { Tf, Bmp, Tga };

Kind kindOf(const ImageFile& file) {
    if (dynamic_cast<const TfFile*>(&file))
        return Kind::Tf;
    if (dynamic_cast<const BmpFile*>(&file))
        return Kind::Bmp;
    EXPECT_NE(dynamic_cast<const TgaFile*>(&file), nullptr);
    return Kind::Tga;
}

TEST(OpenImageFile, ChoosesTheHandlerByTheLastExtensionIgnoringCase) {
    const std::pair<std::string, Kind> cases[] = {
        {"sail.tf", Kind::Tf},
        {"art/SAIL.TF", Kind::Tf},
        {"c:\\art\\hull.Bmp", Kind::Bmp},
        {"hull.tga", Kind::Tga},
        {"hull.tf.tga", Kind::Tga},
        {"textures.tf/hull", Kind::Tga},
        {"c:\\textures.bmp\\hull", Kind::Tga},
        {"hull.png", Kind::Tga},
        {"hull", Kind::Tga},
    };
    for (const auto& [path, kind] : cases) {
        const std::unique_ptr<ImageFile> file = openImageFile(path);
        ASSERT_NE(file, nullptr) << path;
        EXPECT_EQ(kindOf(*file), kind) << path;
        EXPECT_EQ(file->path, path);
        EXPECT_EQ(file->width, 0u) << "nothing is read yet: " << path;
    }
}

TEST(DescribeImage, NamesSizeDepthAndWhatElseApplies) {
    struct Case {
        std::uint32_t width, height, bits;
        bool alpha;
        std::uint32_t count16, count8;
        const char* text;
    } const cases[] = {
        {256, 256, 32, true, 0, 0, "Size: 256x256; BPP: 32; Alpha channel"},
        {64, 16, 24, false, 0, 0, "Size: 64x16; BPP: 24"},
        {16, 8, 16, true, 2, 3,
         "Size: 16x8; BPP: 16; Alpha channel; 16 bit mips: 2; 8 bit mips: 3"},
        {16, 8, 8, false, 0, 2, "Size: 16x8; BPP: 8; 8 bit mips: 2"},
        {4, 4, 16, false, 12, 0, "Size: 4x4; BPP: 16; 16 bit mips: 12"},
    };
    for (const Case& c : cases) {
        TgaFile file;
        file.width = c.width;
        file.height = c.height;
        file.bitsPerPixel = c.bits;
        file.hasAlpha = c.alpha;
        file.count16 = c.count16;
        file.count8 = c.count8;
        EXPECT_EQ(describeImage(file), c.text);
    }
}

}  // namespace
}  // namespace slipway
