#include "pixels/TgaFile.h"

#include <gtest/gtest.h>

#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "base/UserPrompt.h"
#include "pixels/PictureFixtures.h"
#include "support/TgaBuilder.h"

namespace slipway {
namespace {

using test::TempDir;
using test::TgaBuilder;

std::vector<std::uint8_t> bytesOf(const PixelImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

// Rows of `picture` in file order (bottom row first unless topDown).
std::vector<std::uint8_t> fileRows(const PixelImage& picture, bool topDown) {
    std::vector<std::uint8_t> out;
    for (std::uint32_t k = 0; k < picture.height(); ++k) {
        const std::uint32_t y = topDown ? k : picture.height() - 1 - k;
        out.insert(out.end(), picture.row(y), picture.row(y) + picture.rowBytes());
    }
    return out;
}

PixelImage load(const std::vector<std::uint8_t>& bytes) {
    TgaFile file;
    EXPECT_TRUE(file.loadPictureFrom(bytes));
    return file.picture;
}

TEST(TgaLoad, RowsRunBottomUpUnlessTheTopLeftOriginBitIsSet) {
    TgaBuilder b;
    b.width = 3;
    b.height = 2;
    b.pixels = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6};
    const PixelImage bottomUp = load(b.build());
    EXPECT_EQ(bottomUp.format(), 24u | formatFilled);
    EXPECT_EQ(bottomUp.getPixel(0, 0), (Bgra{4, 4, 4, 255}));
    EXPECT_EQ(bottomUp.getPixel(2, 1), (Bgra{3, 3, 3, 255}));
    b.descriptor = 0x20;
    const PixelImage topDown = load(b.build());
    EXPECT_EQ(topDown.getPixel(0, 0), (Bgra{1, 1, 1, 255}));
    EXPECT_EQ(topDown.getPixel(2, 1), (Bgra{6, 6, 6, 255}));
}

TEST(TgaLoad, PixelDepthsGiveTheirFormats) {
    struct Case {
        std::uint8_t depth;
        std::vector<std::uint8_t> pixel;
        std::uint32_t format;
        Bgra expected;
    };
    const Case cases[] = {
        // The top bit of a 16-bit pixel is not alpha.
        {16, {0x1F, 0x80}, 15, {248, 0, 0, 255}},
        {15, {0x1F, 0x00}, 15, {248, 0, 0, 255}},
        {24, {1, 2, 3}, 24, {1, 2, 3, 255}},
        {32, {1, 2, 3, 0}, 32 | formatAlpha, {1, 2, 3, 0}},
        {32, {1, 2, 3, 200}, 32 | formatAlpha, {1, 2, 3, 200}},
    };
    for (const Case& c : cases) {
        TgaBuilder b;
        b.width = 1;
        b.height = 1;
        b.depth = c.depth;
        b.pixels = c.pixel;
        const PixelImage p = load(b.build());
        EXPECT_EQ(p.format() & ~formatFilled, c.format) << int(c.depth);
        EXPECT_EQ(p.getPixel(0, 0), c.expected) << int(c.depth);
        TgaFile info;
        ASSERT_TRUE(info.readInfoFrom(b.build()));
        EXPECT_EQ(info.bitsPerPixel, c.depth);
        EXPECT_EQ(info.hasAlpha, c.depth == 32);
        EXPECT_EQ(info.count16 + info.count8, 0u);
    }
}

TEST(TgaLoad, TheIdFieldIsSkipped) {
    TgaBuilder b;
    b.width = 2;
    b.height = 1;
    b.id = {'h', 'e', 'l', 'l', 'o'};
    b.pixels = {1, 2, 3, 4, 5, 6};
    EXPECT_TRUE(TgaFile::isValidData(b.build()));
    const PixelImage p = load(b.build());
    EXPECT_EQ(p.getPixel(0, 0), (Bgra{1, 2, 3, 255}));
    EXPECT_EQ(p.getPixel(1, 0), (Bgra{4, 5, 6, 255}));
}

TEST(TgaLoad, ColourMapsFillThePaletteInBlueGreenRedOrder) {
    struct Case {
        std::uint8_t entryBits;
        std::vector<std::uint8_t> entry;  // the map's second entry
        Bgra expected;
    };
    const Case cases[] = {
        {24, {10, 20, 30}, {10, 20, 30, 255}},
        {32, {10, 20, 30, 0}, {10, 20, 30, 255}},
        {16, {0x1F, 0x80}, {248, 0, 0, 255}},
        {15, {0x00, 0x7C}, {0, 0, 248, 255}},
    };
    for (const Case& c : cases) {
        TgaBuilder b;
        b.imageType = 1;
        b.colourMapType = 1;
        b.mapFirst = 4;  // the map describes palette entries 4 and 5
        b.mapLength = 2;
        b.mapEntryBits = c.entryBits;
        b.colourMap.assign(c.entry.size(), 0xEE);
        b.colourMap.insert(b.colourMap.end(), c.entry.begin(), c.entry.end());
        b.width = 2;
        b.height = 1;
        b.depth = 8;
        b.pixels = {5, 0};
        const PixelImage p = load(b.build());
        EXPECT_EQ(p.format() & ~formatFilled, 8u);
        EXPECT_EQ(p.getPixel(0, 0), c.expected) << int(c.entryBits);
        EXPECT_EQ(p.getPixel(1, 0), (Bgra{0, 0, 0, 255})) << "entries outside the map are black";
    }
}

TEST(TgaLoad, GreyPicturesGetTheGreyRamp) {
    TgaBuilder b;
    b.imageType = 3;
    b.width = 3;
    b.height = 1;
    b.depth = 8;
    b.pixels = {0, 128, 255};
    const PixelImage p = load(b.build());
    EXPECT_EQ(p.getPixel(0, 0), (Bgra{0, 0, 0, 255}));
    EXPECT_EQ(p.getPixel(1, 0), (Bgra{128, 128, 128, 255}));
    EXPECT_EQ(p.getPixel(2, 0), (Bgra{255, 255, 255, 255}));
}

TEST(TgaLoad, RunLengthPicturesDecodeLikeTheirUncompressedForm) {
    struct Case {
        std::uint8_t type, depth;
        std::uint32_t format;
    };
    const Case cases[] = {
        {2, 16, 15}, {2, 24, 24}, {2, 32, 32 | formatAlpha}, {3, 8, 8}, {1, 8, 8},
    };
    for (const Case& c : cases) {
        for (const bool topDown : {false, true}) {
            // 37 x 5: packets run across row ends; the repeated bytes make repeat packets.
            const PixelImage source = test::randomPicture(37, 5, c.format, c.depth);
            TgaBuilder b;
            b.imageType = c.type;
            b.depth = c.depth;
            b.width = 37;
            b.height = 5;
            b.descriptor = topDown ? 0x20 : 0;
            if (c.type == 1) {
                b.colourMapType = 1;
                b.mapLength = 256;
                b.mapEntryBits = 24;
                b.colourMap.resize(768);
                for (int i = 0; i < 768; ++i)
                    b.colourMap[i] = std::uint8_t(i * 31);
            }
            b.pixels = fileRows(source, topDown);
            const PixelImage raw = load(b.build());
            b.imageType = c.type | 8;
            b.pixels = test::tgaRunLength(b.pixels, source.bytesPerPixel());
            ASSERT_LT(b.pixels.size(), source.byteSize() * 2);
            EXPECT_TRUE(TgaFile::isValidData(b.build()));
            const PixelImage rle = load(b.build());
            EXPECT_EQ(bytesOf(raw), bytesOf(source)) << int(c.type);
            EXPECT_EQ(bytesOf(rle), bytesOf(source)) << int(c.type);
            EXPECT_EQ(rle.palette(), raw.palette());
            EXPECT_EQ(rle.format(), raw.format());

            // Every truncation of the packets fails cleanly.
            const std::vector<std::uint8_t> whole = b.build();
            for (std::size_t cut = 0; cut < whole.size(); ++cut) {
                TgaFile file;
                ASSERT_FALSE(file.loadPictureFrom({whole.data(), cut})) << cut;
                ASSERT_TRUE(file.picture.isEmpty());
            }
        }
    }
}

TEST(TgaLoad, MalformedFilesFailWithoutAllocating) {
    auto base = [] {
        TgaBuilder b;
        b.width = 2;
        b.height = 2;
        b.pixels.assign(12, 9);
        return b;
    };
    struct Case {
        const char* what;
        TgaBuilder builder;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, auto change) {
        TgaBuilder b = base();
        change(b);
        cases.push_back({what, b});
    };
    add("zero width", [](TgaBuilder& b) { b.width = 0; });
    add("zero height", [](TgaBuilder& b) { b.height = 0; });
    add("too tall", [](TgaBuilder& b) { b.height = 32769; });
    add("promises more pixels than present",
        [](TgaBuilder& b) { b.width = 30000, b.height = 30000; });
    add("run-length beyond what the bytes can expand to",
        [](TgaBuilder& b) { b.imageType = 10, b.width = 32768, b.height = 32768; });
    add("depth 13", [](TgaBuilder& b) { b.depth = 13; });
    add("depth 12", [](TgaBuilder& b) { b.depth = 12; });
    add("no image data", [](TgaBuilder& b) { b.imageType = 0; });
    add("unknown type", [](TgaBuilder& b) { b.imageType = 4; });
    add("grey of 16 bits", [](TgaBuilder& b) { b.imageType = 3, b.depth = 16; });
    add("colour-mapped without a map", [](TgaBuilder& b) { b.imageType = 1, b.depth = 8; });
    add("colour map longer than 256 entries", [](TgaBuilder& b) {
        b.imageType = 1, b.depth = 8, b.colourMapType = 1, b.mapLength = 257, b.mapEntryBits = 24;
        b.colourMap.assign(257 * 3, 0);
    });
    add("colour map ending past entry 255", [](TgaBuilder& b) {
        b.imageType = 1, b.depth = 8, b.colourMapType = 1, b.mapFirst = 200, b.mapLength = 57,
        b.mapEntryBits = 24;
        b.colourMap.assign(57 * 3, 0);
    });
    add("colour map of 8-bit entries", [](TgaBuilder& b) {
        b.imageType = 1, b.depth = 8, b.colourMapType = 1, b.mapLength = 4, b.mapEntryBits = 8;
        b.colourMap.assign(4, 0);
    });
    add("colour map cut short", [](TgaBuilder& b) {
        b.imageType = 1, b.depth = 8, b.colourMapType = 1, b.mapLength = 200, b.mapEntryBits = 24;
        b.colourMap.clear();
    });
    for (const Case& c : cases) {
        TgaFile file;
        EXPECT_FALSE(file.loadPictureFrom(c.builder.build())) << c.what;
        EXPECT_TRUE(file.picture.isEmpty()) << c.what;
    }

    const std::vector<std::uint8_t> good = base().build();
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        TgaFile file;
        EXPECT_FALSE(file.loadPictureFrom({good.data(), cut})) << cut;
        EXPECT_EQ(file.readInfoFrom({good.data(), cut}), cut >= 18) << cut;
    }
}

TEST(TgaFile, ValidityFollowsTheImageType) {
    for (int type = 0; type < 16; ++type) {
        TgaBuilder b;
        b.imageType = std::uint8_t(type);
        const bool expected =
            type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
        EXPECT_EQ(TgaFile::isValidData(b.build()), expected) << type;
    }
    TgaBuilder b;
    const std::vector<std::uint8_t> header = b.build();
    EXPECT_FALSE(TgaFile::isValidData({header.data(), 17}));

    TempDir dir;
    TgaFile missing(dir.file("none.tga"));
    EXPECT_FALSE(missing.isValid());
    EXPECT_FALSE(missing.readInfo());
    EXPECT_FALSE(missing.loadPicture());
}

TEST(TgaWrite, WritesBottomUpRowsWithAColourMapForEightBits) {
    TempDir dir;
    struct Case {
        std::uint32_t format;
        std::size_t size;
        std::uint8_t type, mapType, depth;
    };
    const Case cases[] = {
        {8, 18 + 768 + 5 * 3, 1, 1, 8},
        {15 | formatAlpha, 18 + 2 * 5 * 3, 2, 0, 15},
        {24, 18 + 3 * 5 * 3, 2, 0, 24},
        {32 | formatAlpha, 18 + 4 * 5 * 3, 2, 0, 32},
    };
    for (const Case& c : cases) {
        TgaFile file(dir.file("out.tga"));
        file.picture = test::randomPicture(5, 3, c.format, c.format, test::randomPalette(2));
        ASSERT_TRUE(file.writeTga());
        const std::vector<std::uint8_t> bytes = test::readBytes(file.path);
        ASSERT_EQ(bytes.size(), c.size) << c.format;
        EXPECT_EQ(bytes[1], c.mapType);
        EXPECT_EQ(bytes[2], c.type);
        EXPECT_EQ(bytes[5] | bytes[6] << 8, c.mapType ? 256 : 0);
        EXPECT_EQ(bytes[7], c.mapType ? 24 : 0);
        EXPECT_EQ(bytes[12], 5);
        EXPECT_EQ(bytes[14], 3);
        EXPECT_EQ(bytes[16], c.depth);
        EXPECT_EQ(bytes[17], 0);

        TgaFile reader(file.path);
        ASSERT_TRUE(reader.loadPicture());
        EXPECT_EQ(bytesOf(reader.picture), bytesOf(file.picture)) << c.format;
        if (c.mapType) {
            EXPECT_EQ(reader.picture.palette(), file.picture.palette());
        }
    }
    TgaFile empty(dir.file("empty.tga"));
    EXPECT_FALSE(empty.writeTga());
    EXPECT_FALSE(std::filesystem::exists(empty.path));
}

TEST(TgaWrite, AsksBeforeReplacingAnExistingFile) {
    TempDir dir;
    const std::string path = dir.file("out.tga");
    test::writeBytes(path, {1, 2, 3});
    TgaFile file(path);
    file.picture = test::randomPicture(2, 2, 24, 1);

    ScriptedPrompt prompt;
    prompt.plan(PromptAnswer::No);
    EXPECT_TRUE(file.writeTga(&prompt));
    EXPECT_EQ(test::readBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    ASSERT_EQ(prompt.shown().size(), 1u);
    EXPECT_EQ(prompt.shown()[0].text, "Overwrite file " + path);
    EXPECT_EQ(prompt.shown()[0].buttons, PromptButtons::YesNo);

    // A failure part-way keeps the old file.
    prompt.plan(PromptAnswer::Yes);
    file.failWritesAfterBytes = 20;
    EXPECT_FALSE(file.writeTga(&prompt));
    EXPECT_NE(file.fileError, FileErrorCause::None);
    EXPECT_EQ(test::readBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));

    prompt.plan(PromptAnswer::Yes);
    file.failWritesAfterBytes = SIZE_MAX;
    EXPECT_TRUE(file.writeTga(&prompt));
    EXPECT_EQ(file.fileError, FileErrorCause::None);
    EXPECT_EQ(test::readBytes(path).size(), 18u + 12);
}

TEST(TgaFile, CloneCopiesFieldsButNoPixels) {
    TgaFile file("/x/a.tga");
    file.width = 4;
    file.height = 2;
    file.bitsPerPixel = 32;
    file.hasAlpha = true;
    file.picture = test::randomPicture(4, 2, 8, 1, test::randomPalette(4));
    const std::unique_ptr<ImageFile> copy = file.clone();
    ASSERT_NE(dynamic_cast<TgaFile*>(copy.get()), nullptr);
    EXPECT_EQ(copy->path, "/x/a.tga");
    EXPECT_EQ(copy->width, 4u);
    EXPECT_EQ(copy->bitsPerPixel, 32u);
    EXPECT_TRUE(copy->hasAlpha);
    EXPECT_TRUE(copy->picture.isEmpty());
    EXPECT_EQ(copy->picture.palette(), file.picture.palette());
}

}  // namespace
}  // namespace slipway
