#include "pixels/TfFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "pixels/BmpFile.h"
#include "pixels/PictureFixtures.h"
#include "support/TfBuilder.h"

namespace slipway {
namespace {

using test::TempDir;
using test::TfBuilder;

std::vector<std::uint8_t> bytesOf(const PixelImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

// A TF image with random levels: 16-bit chain in `format16` (0 for none), 8-bit chain with
// or without the colour key.
TfImage makeTexture(std::uint32_t w, std::uint32_t h, std::uint32_t format16, int count16,
                    int count8, bool key, std::uint32_t seed) {
    TfImage tf;
    tf.width = w;
    tf.height = h;
    tf.count16 = static_cast<std::uint8_t>(count16);
    tf.count8 = static_cast<std::uint8_t>(count8);
    const Palette palette = test::randomPalette(seed);
    for (int i = 0; i < count16; ++i)
        tf.levels16[i] = test::randomPicture(w >> i, h >> i, format16, seed + i);
    for (int i = 0; i < count8; ++i)
        tf.levels8[i] = test::randomPicture(w >> i, h >> i, 8 | (key ? formatAlpha : 0),
                                            seed + 50 + i, palette);
    return tf;
}

TEST(TfLayout, OffsetsFollowFromTheHeader) {
    TfHeader h;
    h.pixelFormatCode = 1;
    h.count16 = 5;
    h.count8 = 5;
    h.width = 256;
    h.height = 256;
    EXPECT_EQ(tfLevel16Offset(h, 0), 16u);
    EXPECT_EQ(tfLevel16Offset(h, 1), 16u + 256 * 256 * 2);
    EXPECT_EQ(tfPaletteOffset(h), 174608u);
    EXPECT_EQ(tfLevel8Offset(h, 0), 175632u);
    EXPECT_EQ(tfLevel8Offset(h, 5), 262928u);  // the file's length

    const TfImage tf = makeTexture(256, 256, 15 | formatAlpha, 5, 5, true, 1);
    EXPECT_EQ(encodeTf(tf.levels16.data(), 5, tf.levels8.data(), 5).size(), 262928u);

    // No 16-bit levels: byte 5 is 0 and the palette follows the header.
    const TfImage only8 = makeTexture(64, 32, 0, 0, 3, false, 2);
    const std::vector<std::uint8_t> bytes = encodeTf(nullptr, 0, only8.levels8.data(), 3);
    ASSERT_EQ(bytes.size(), 16u + 1024 + 64 * 32 + 32 * 16 + 16 * 8);
    EXPECT_EQ(bytes[5], 0);
    EXPECT_EQ(bytes[6], 0);
    EXPECT_EQ(bytes[7], 3);
    EXPECT_EQ(bytes[8], 64);
    EXPECT_EQ(bytes[12], 32);
    const Palette& pal = only8.levels8[0].palette();
    EXPECT_EQ(bytes[16], pal[2]);  // red first
    EXPECT_EQ(bytes[18], pal[0]);
    EXPECT_EQ(bytes[19], 0);
}

TEST(TfFile, WritesAndReadsBackEveryLevelOfBothChains) {
    TempDir dir;
    for (const std::uint32_t format : {16u, 15u | formatAlpha, 12u | formatAlpha}) {
        const bool key = format != 16;
        const TfImage tf = makeTexture(64, 16, format, 4, 3, key, format);
        TfImage untouched = tf;
        TfFile file(dir.file("t.tf"));
        ASSERT_TRUE(file.writeTf(tf));
        // The caller's levels keep their in-memory alpha.
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(bytesOf(tf.levels16[i]), bytesOf(untouched.levels16[i]));

        TfFile reader(dir.file("t.tf"));
        ASSERT_TRUE(reader.readInfo());
        EXPECT_EQ(reader.width, 64u);
        EXPECT_EQ(reader.height, 16u);
        EXPECT_EQ(reader.count16, 4u);
        EXPECT_EQ(reader.count8, 3u);
        EXPECT_EQ(reader.bitsPerPixel, 16u);
        EXPECT_EQ(reader.hasAlpha, key);
        for (std::uint32_t level = 0; level < 4; ++level) {
            reader.use16 = true;
            reader.level = level;
            ASSERT_TRUE(reader.loadPicture()) << level;
            EXPECT_EQ(reader.picture.format() & ~formatFilled, format);
            EXPECT_EQ(reader.picture.width(), 64u >> level);
            EXPECT_EQ(bytesOf(reader.picture), bytesOf(tf.levels16[level]));
        }
        for (std::uint32_t level = 0; level < 3; ++level) {
            reader.use16 = false;
            reader.level = level;
            ASSERT_TRUE(reader.loadPicture()) << level;
            EXPECT_EQ(reader.picture.format() & ~formatFilled, 8u | (key ? formatAlpha : 0));
            EXPECT_EQ(bytesOf(reader.picture), bytesOf(tf.levels8[level]));
            EXPECT_EQ(reader.picture.palette(), tf.levels8[0].palette());
        }
        reader.level = 3;
        EXPECT_FALSE(reader.loadPicture());
        reader.use16 = true;
        reader.level = 4;
        EXPECT_FALSE(reader.loadPicture());
    }
}

TEST(TfFile, DecodesStoredPixelsWithInvertedAlpha) {
    struct Case {
        std::uint8_t code;
        std::uint16_t stored;
        Bgra expected;
    };
    const Case cases[] = {
        {1, 0x7FFF, {248, 248, 248, 255}}, {1, 0xFFFF, {248, 248, 248, 0}},
        {2, 0x0FFF, {240, 240, 240, 240}}, {2, 0xF000, {0, 0, 0, 0}},
        {0, 0xFFFF, {248, 252, 248, 255}},
    };
    for (const Case& c : cases) {
        TfBuilder b{c.code, 1, 0, 1, 1, {std::uint8_t(c.stored), std::uint8_t(c.stored >> 8)}};
        TfFile file;
        ASSERT_TRUE(file.readInfoFrom(b.build()));
        ASSERT_TRUE(file.loadPictureFrom(b.build()));
        EXPECT_EQ(file.picture.getPixel(0, 0), c.expected) << int(c.code) << " " << c.stored;
    }
}

TEST(TfFile, PaletteEntriesAreRedGreenBlueAndIndexZeroIsAKeyOnlyWithAlpha) {
    for (const std::uint8_t code : {0, 1, 2}) {
        TfBuilder b{code, 0, 1, 2, 1, {}};
        b.body.assign(1024, 0);
        b.body[0] = 10, b.body[1] = 20, b.body[2] = 30;
        b.body.push_back(0);
        b.body.push_back(0);
        TfFile file;
        file.use16 = false;
        ASSERT_TRUE(file.readInfoFrom(b.build()));
        EXPECT_EQ(file.bitsPerPixel, 8u);
        ASSERT_TRUE(file.loadPictureFrom(b.build()));
        EXPECT_EQ(file.picture.getPixel(1, 0), (Bgra{30, 20, 10, std::uint8_t(code ? 0 : 255)}));
    }
}

TEST(TfFile, AnUnknownFormatCodeListsButLoadsNothing) {
    TfBuilder b{3, 1, 1, 4, 4, {}};
    b.body.assign(b.bodySize(), 0);
    TfFile file;
    EXPECT_TRUE(file.readInfoFrom(b.build()));
    EXPECT_FALSE(file.loadPictureFrom(b.build()));
    file.use16 = false;
    EXPECT_FALSE(file.loadPictureFrom(b.build()));
}

TEST(TfFile, MalformedHeadersAndShortDataFailCleanly) {
    struct Case {
        const char* what;
        TfBuilder builder;
    };
    const Case cases[] = {
        {"zero width", {0, 1, 0, 0, 4, {}}},
        {"zero height", {0, 1, 0, 4, 0, {}}},
        {"too wide", {0, 1, 0, 32769, 1, {}}},
        {"too many 16-bit levels", {0, 17, 0, 4, 4, {}}},
        {"too many 8-bit levels", {0, 0, 17, 4, 4, {}}},
    };
    for (const Case& c : cases) {
        TfFile file;
        EXPECT_FALSE(file.readInfoFrom(c.builder.build())) << c.what;
        EXPECT_FALSE(file.loadPictureFrom(c.builder.build())) << c.what;
    }

    // A header that promises a 32768 x 32768 level over a few bytes allocates nothing.
    TfBuilder huge{0, 1, 1, 32768, 32768, std::vector<std::uint8_t>(64, 0)};
    TfFile file;
    EXPECT_TRUE(file.readInfoFrom(huge.build()));
    EXPECT_FALSE(file.loadPictureFrom(huge.build()));
    file.use16 = false;
    EXPECT_FALSE(file.loadPictureFrom(huge.build()));
    EXPECT_TRUE(file.picture.isEmpty());

    // Every truncation of a good file fails for its last level of each chain.
    const TfImage tf = makeTexture(8, 4, 15 | formatAlpha, 2, 2, true, 9);
    const std::vector<std::uint8_t> good = encodeTf(tf.levels16.data(), 2, tf.levels8.data(), 2);
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        const std::span<const std::uint8_t> prefix(good.data(), cut);
        TfFile reader;
        reader.level = 1;
        reader.use16 = false;
        ASSERT_FALSE(reader.loadPictureFrom(prefix)) << cut;
        EXPECT_EQ(reader.readInfoFrom(prefix), cut >= 16) << cut;
    }
}

TEST(TfFile, WriteRefusesWrongDepthsBeforeTouchingTheDisk) {
    TempDir dir;
    const std::string path = dir.file("old.tf");
    test::writeBytes(path, {1, 2, 3});
    const TfImage good = makeTexture(8, 8, 16, 1, 1, false, 3);
    PixelImage wrong16 = test::randomPicture(8, 8, 24, 1);
    PixelImage wrong8 = test::randomPicture(8, 8, 16, 1);
    PixelImage empty;
    TfFile file(path);
    EXPECT_FALSE(file.writeTf(&wrong16, 1, nullptr, 0));
    EXPECT_FALSE(file.writeTf(&empty, 1, nullptr, 0));
    EXPECT_FALSE(file.writeTf(good.levels16.data(), 1, &wrong8, 1));
    EXPECT_FALSE(file.writeTf(good.levels16.data(), 17, nullptr, 0));
    EXPECT_EQ(test::readBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(file.fileError, FileErrorCause::None);
}

TEST(TfFile, AFailedWriteLeavesTheOldFileAndReportsTheCause) {
    TempDir dir;
    const std::string path = dir.file("tex.tf");
    test::writeBytes(path, {7, 7, 7});
    const TfImage tf = makeTexture(16, 16, 12 | formatAlpha, 2, 2, true, 4);
    TfFile file(path);
    file.failWritesAfterBytes = 100;
    EXPECT_FALSE(file.writeTf(tf));
    EXPECT_NE(file.fileError, FileErrorCause::None);
    EXPECT_EQ(test::readBytes(path), (std::vector<std::uint8_t>{7, 7, 7}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator{}),
              1);

    // A folder that cannot be written to: the write fails before any file exists.
    TfFile nowhere(dir.file("missing/tex.tf"));
    EXPECT_FALSE(nowhere.writeTf(tf));
    EXPECT_EQ(nowhere.fileError, FileErrorCause::None);

    // A folder of that name: the file cannot be created, which is not a write error either.
    std::filesystem::create_directory(dir.file("folder.tf"));
    TfFile folder(dir.file("folder.tf"));
    EXPECT_FALSE(folder.writeTf(tf));
    EXPECT_EQ(folder.fileError, FileErrorCause::None);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator{}),
              2);
}

TEST(TfFile, ValidityAndCloning) {
    TempDir dir;
    const TfImage tf = makeTexture(8, 8, 15 | formatAlpha, 1, 1, true, 5);
    TfFile file(dir.file("a.tf"));
    EXPECT_FALSE(file.isValid());
    EXPECT_FALSE(file.readInfo());
    ASSERT_TRUE(file.writeTf(tf));
    EXPECT_TRUE(file.isValid());
    ASSERT_TRUE(file.readInfo());
    file.use16 = false;
    ASSERT_TRUE(file.loadPicture());

    const std::unique_ptr<ImageFile> copy = file.clone();
    ASSERT_NE(dynamic_cast<TfFile*>(copy.get()), nullptr);
    EXPECT_EQ(copy->path, file.path);
    EXPECT_EQ(copy->count16, 1u);
    EXPECT_EQ(copy->count8, 1u);
    EXPECT_TRUE(copy->hasAlpha);
    EXPECT_FALSE(copy->use16);
    EXPECT_TRUE(copy->picture.isEmpty());
    EXPECT_EQ(copy->picture.palette(), file.picture.palette());

    if (::geteuid() != 0) {
        ::chmod(file.path.c_str(), 0444);
        EXPECT_FALSE(file.isValid());
    }
}

TEST(ImageFileKinds, TheBaseAndBmpHandlersFailEverything) {
    TempDir dir;
    test::writeBytes(dir.file("a.bmp"), std::vector<std::uint8_t>(100, 0x42));
    BmpFile bmp(dir.file("a.bmp"));
    ImageFile base(dir.file("a.bmp"));
    for (ImageFile* handler : {static_cast<ImageFile*>(&bmp), &base}) {
        EXPECT_FALSE(handler->readInfo());
        EXPECT_FALSE(handler->isValid());
        EXPECT_FALSE(handler->loadPicture());
        EXPECT_EQ(handler->clone(), nullptr);
    }
}

}  // namespace
}  // namespace slipway
