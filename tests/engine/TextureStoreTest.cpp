#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/Format.h"
#include "engine/TextureStore.h"

namespace slipway {
namespace {

using test::tfFile;
using test::tgaFile;

DecodedTexture tf(const std::vector<std::uint8_t>& bytes) {
    DecodedTexture out;
    EXPECT_TRUE(decodeTf(bytes, out));
    return out;
}

DecodedTexture tga(const std::vector<std::uint8_t>& bytes,
                   const ViewerRules& rules = kShipviewRules) {
    DecodedTexture out;
    EXPECT_TRUE(decodeTga(bytes, rules.tga, out));
    return out;
}

TEST(TextureDecode, TfFormatCodes) {
    // Code 0: 5:6:5, as stored.
    DecodedTexture opaque = tf(tfFile(0, 2, 1, {0xF800, 0x001F}));
    EXPECT_EQ(opaque.format, TexturePixelFormat::Rgb565);
    EXPECT_FALSE(opaque.hasAlpha);
    EXPECT_EQ(opaque.pixels, (std::vector<std::uint16_t>{0xF800, 0x001F}));
    // Code 1: the stored alpha bit (0 = opaque) is turned round.
    DecodedTexture alpha = tf(tfFile(1, 2, 1, {0x7C00, 0xFFFF}));
    EXPECT_EQ(alpha.format, TexturePixelFormat::Argb1555);
    EXPECT_TRUE(alpha.hasAlpha);
    EXPECT_EQ(alpha.pixels, (std::vector<std::uint16_t>{0xFC00, 0x7FFF}));
    // Code 2: 4:4:4:4 with stored alpha 15 - a becomes 1:5:5:5; alpha 8 or more is opaque.
    DecodedTexture four = tf(tfFile(2, 4, 1, {0x0FFF, 0x7F00, 0x80F0, 0xF00F}));
    EXPECT_EQ(four.format, TexturePixelFormat::Argb1555);
    EXPECT_TRUE(four.hasAlpha);
    EXPECT_EQ(four.pixels, (std::vector<std::uint16_t>{0xFFFF, 0xFC00, 0x03E0, 0x001F}));
}

TEST(TextureDecode, TfRefusals) {
    DecodedTexture out;
    EXPECT_FALSE(decodeTf(tfFile(0, 2, 2, {1, 2, 3}), out));  // shorter than 2 × 2
    EXPECT_FALSE(decodeTf(tfFile(0, 1, 1, {1}, 0), out));     // no 16-bit level
    EXPECT_FALSE(decodeTf(tfFile(0, 0, 1, {}), out));
    EXPECT_FALSE(decodeTf(tfFile(0, 8193, 1, std::vector<std::uint16_t>(8193)), out));
    EXPECT_FALSE(decodeTf(std::vector<std::uint8_t>(15), out));
    EXPECT_TRUE(decodeTf(tfFile(0, 8192, 1, std::vector<std::uint16_t>(8192)), out));
}

TEST(TextureDecode, TgaDepthsAndRowOrder) {
    // 24 bits: blue 255, green 128, red 8 gives red 1, green 16, blue 31, alpha 0. Rows are
    // stored bottom first.
    DecodedTexture rgb = tga(tgaFile(1, 2, 24, {0, 0, 0, 255, 128, 8}));
    EXPECT_FALSE(rgb.hasAlpha);
    EXPECT_EQ(rgb.pixels[0], (1u << 10) | (16u << 5) | 31u);
    EXPECT_EQ(rgb.pixels[1], 0);
    // 32 bits: any non-zero alpha byte is opaque.
    DecodedTexture rgba = tga(tgaFile(2, 1, 32, {255, 255, 255, 1, 255, 255, 255, 0}));
    EXPECT_TRUE(rgba.hasAlpha);
    EXPECT_EQ(rgba.pixels, (std::vector<std::uint16_t>{0xFFFF, 0x7FFF}));
    // 16 bits: copied unchanged, bottom row last.
    DecodedTexture sixteen = tga(tgaFile(1, 2, 16, {0x34, 0x12, 0x78, 0x56}));
    EXPECT_EQ(sixteen.pixels, (std::vector<std::uint16_t>{0x5678, 0x1234}));
    EXPECT_FALSE(sixteen.hasAlpha);
    // Another depth: registered with blank pixels.
    DecodedTexture eight = tga(tgaFile(2, 2, 8, {}));
    EXPECT_EQ(eight.pixels, std::vector<std::uint16_t>(4, 0));
}

TEST(TextureDecode, TgaRefusals) {
    DecodedTexture out;
    EXPECT_FALSE(
        decodeTga(tgaFile(2, 2, 24, std::vector<std::uint8_t>(11)), kShipviewRules.tga, out));
    EXPECT_FALSE(decodeTga(tgaFile(0, 2, 24, {}), kShipviewRules.tga, out));
    EXPECT_FALSE(decodeTga(tgaFile(9000, 1, 8, {}), kShipviewRules.tga, out));
    EXPECT_FALSE(decodeTga(std::vector<std::uint8_t>(17), kShipviewRules.tga, out));
    // The model editor wants the identification field too.
    EXPECT_FALSE(decodeTga(tgaFile(1, 1, 24, {1, 2}, 2), kMeshviewRules.tga, out));
}

TEST(TextureDecode, ModelEditorRoundsSizesAndSamplesNearest) {
    struct Case {
        std::uint16_t w, h;
        int outW, outH;
    } cases[] = {{100, 300, 64, 256}, {20, 20, 32, 32}, {128, 255, 128, 128}, {512, 64, 256, 64}};
    for (const Case& c : cases) {
        DecodedTexture out = tga(tgaFile(c.w, c.h, 24, std::vector<std::uint8_t>(c.w * c.h * 3u)),
                                 kMeshviewRules);
        EXPECT_EQ(out.width, c.outW);
        EXPECT_EQ(out.height, c.outH);
    }
    // A 2 × 2 picture grows to 32 × 32; each quarter takes its nearest pixel. Stored rows: bottom
    // (red, green), top (blue, white).
    const std::vector<std::uint8_t> pixels = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    const std::uint16_t red = 31 << 10, green = 31 << 5, blue = 31, white = 0x7FFF;
    DecodedTexture up =
        tga(tgaFile(2, 2, 24, pixels, 3), kMeshviewRules);  // ID field skipped
    EXPECT_EQ(up.pixel(0, 0), blue);
    EXPECT_EQ(up.pixel(31, 0), white);
    EXPECT_EQ(up.pixel(15, 31), red);
    EXPECT_EQ(up.pixel(16, 16), green);
    // With the top-left origin bit the stored rows run from the top.
    DecodedTexture down = tga(tgaFile(2, 2, 24, pixels, 0, 0x20), kMeshviewRules);
    EXPECT_EQ(down.pixel(0, 0), red);
    // 32-bit pictures are sampled the same way (and always stored bottom first).
    DecodedTexture alpha =
        tga(tgaFile(64, 1, 32, std::vector<std::uint8_t>(256, 255)), kMeshviewRules);
    EXPECT_EQ(alpha.width, 64);
    EXPECT_EQ(alpha.pixel(5, 20), 0xFFFF);
}

class TextureStoreFiles : public ::testing::Test {
  protected:
    std::string put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = dir.file(name);
        test::writeBytes(path, bytes);
        return path;
    }
    test::TempDir dir;
    RecordingTrace trace;
};

TEST_F(TextureStoreFiles, SameBaseNameLoadsOnce) {
    TextureStore store;
    const std::string a = put("deck.tga", tgaFile(1, 1, 24, {0, 0, 255}));
    const std::string b = put("deck.tf", tfFile(1, 1, 1, {0}));
    EXPECT_TRUE(store.loadTexture(a, trace));
    EXPECT_TRUE(store.loadTexture(b, trace));
    EXPECT_TRUE(store.loadTexture(a, trace));
    EXPECT_EQ(store.textureCount(), 1);
    EXPECT_FALSE(store.entry(0)->hasAlpha);  // the TGA came first
    EXPECT_EQ(store.textureIndex("deck"), 0u);
    EXPECT_EQ(store.textureIndex("never"), 0u);

    const std::string c = put("hull.TF", tfFile(1, 1, 1, {0}));
    EXPECT_TRUE(store.loadTexture(c, trace));
    EXPECT_EQ(store.textureIndex("hull"), 1u);
    EXPECT_TRUE(store.entry(1)->hasAlpha);
    EXPECT_EQ(store.textureIndex("HULL"), 0u);  // lookups compare exactly
    // The ship viewer's duplicate check is exact too; the model editor's ignores case.
    const std::string d = put("HULL.tga", tgaFile(1, 1, 24, {0, 0, 0}));
    EXPECT_TRUE(store.loadTexture(d, trace));
    EXPECT_EQ(store.textureCount(), 3);
    TextureStore editor(kMeshviewRules);
    EXPECT_TRUE(editor.loadTexture(c, trace));
    EXPECT_TRUE(editor.loadTexture(d, trace));
    EXPECT_EQ(editor.textureCount(), 1);
}

TEST_F(TextureStoreFiles, FailuresLeaveTheSlotFreeAndTraceUnopenableFiles) {
    TextureStore store;
    const std::string missing = dir.file("gone.tga");
    EXPECT_FALSE(store.loadTexture(missing, trace));
    EXPECT_EQ(trace.lines, std::vector<std::string>{"Can't Open File " + missing + " "});
    EXPECT_FALSE(store.loadTexture(put("short.tga", tgaFile(4, 4, 32, {1, 2, 3})), trace));
    EXPECT_EQ(store.textureCount(), 0);
    EXPECT_EQ(store.entry(0), nullptr);
    EXPECT_TRUE(store.loadTexture(put("good.tga", tgaFile(1, 1, 24, {0, 0, 0})), trace));
    EXPECT_EQ(store.textureIndex("good"), 0u);
}

TEST_F(TextureStoreFiles, CapacityByRules) {
    const std::vector<std::uint8_t> pixel = tgaFile(1, 1, 24, {0, 0, 0});
    for (const ViewerRules* rules : {&kShipviewRules, &kMeshviewRules}) {
        TextureStore store(*rules);
        NullTrace quiet;
        const int capacity = rules->textureSlots;
        for (int i = 0; i < capacity; ++i) {
            ASSERT_TRUE(store.loadTextureFromBytes(formatText("t%d.tga", i), pixel, quiet));
        }
        EXPECT_FALSE(store.loadTextureFromBytes("one-more.tga", pixel, quiet));
        EXPECT_FALSE(store.loadTextureFromBytes("t0.tga", pixel, quiet));  // full comes first
        EXPECT_EQ(store.textureCount(), capacity);
    }
}

TEST_F(TextureStoreFiles, ModelEditorTracesEachLoad) {
    TextureStore store(kMeshviewRules);
    const std::string path = put("a.tga", tgaFile(1, 1, 24, {0, 0, 0}));
    store.loadTexture(path, trace);
    store.loadTexture(put("b.tga", tgaFile(1, 1, 24, {0, 0, 0})), trace);
    ASSERT_EQ(trace.lines.size(), 2u);
    EXPECT_EQ(trace.lines[0], "0 TEXTURE: " + path);
    EXPECT_EQ(trace.lines[1].substr(0, 12), "1 TEXTURE: /");
}

TEST_F(TextureStoreFiles, LongNamesAreKeptToTheirFirst32Characters) {
    TextureStore store;
    const std::string name(40, 'n');
    EXPECT_TRUE(store.loadTextureFromBytes(name + ".tga", tgaFile(1, 1, 24, {0, 0, 0}), trace));
    EXPECT_EQ(store.entry(0)->name, std::string(32, 'n'));
    EXPECT_EQ(store.textureIndex(name), 0u);
    EXPECT_TRUE(store.loadTextureFromBytes(name + ".tga", tgaFile(1, 1, 24, {0, 0, 0}), trace));
    EXPECT_EQ(store.textureCount(), 1);  // found again, not stored twice
}

TEST_F(TextureStoreFiles, ReleaseEmptiesEverything) {
    TextureStore store;
    store.loadTextureFromBytes("a.tga", tgaFile(1, 1, 24, {0, 0, 0}), trace);
    const auto revision = store.revision();
    store.releaseTextures();
    EXPECT_EQ(store.textureCount(), 0);
    EXPECT_EQ(store.entry(0), nullptr);
    EXPECT_NE(store.revision(), revision);
    std::string name;
    EXPECT_FALSE(store.textureName(0, name));
    EXPECT_FALSE(store.textureName(5000, name));
}

TEST_F(TextureStoreFiles, FillTexturesHaveDistinctColours) {
    TextureStore store(kMeshviewRules);
    FillRandom random(7);
    const FillTexture red = store.addFillTexture(1, 0, 0, random, trace);
    const FillTexture again = store.addFillTexture(1, 0, 0, random, trace);
    const FillTexture blue = store.addFillTexture(0, 0, 1, random, trace);
    EXPECT_EQ(red.index, 0u);
    EXPECT_EQ(red.color, 0xF800u);
    EXPECT_EQ(blue.color, 0x001Fu);
    EXPECT_NE(again.color, red.color);  // a clash is redrawn
    std::string name;
    ASSERT_TRUE(store.textureName(0, name));
    EXPECT_EQ(name, "63488");
    const TextureEntry& e = *store.entry(red.index);
    EXPECT_EQ(e.width, 8);
    EXPECT_EQ(e.format, TexturePixelFormat::Rgb565);
    EXPECT_EQ(e.pixel(7, 7), 0xF800);
    EXPECT_EQ(trace.lines[0], "0 TEXTURE: FillColor");
}

TEST_F(TextureStoreFiles, MarkingTexturesAreMadeOnceAndForgottenWithTheStore) {
    TextureStore store(kMeshviewRules);
    FillRandom random(3);
    EXPECT_EQ(store.markingTexture(1), -1);
    store.addFillTexture(0.5f, 0.5f, 0.5f, random, trace);
    store.makeMarkingTextures(random, trace);
    store.makeMarkingTextures(random, trace);  // already there: nothing new
    EXPECT_EQ(store.textureCount(), 3);
    ASSERT_EQ(store.markingTexture(1), 1);
    ASSERT_EQ(store.markingTexture(2), 2);
    EXPECT_EQ(store.markingTexture(0), -1);
    EXPECT_EQ(store.markingTexture(3), -1);
    EXPECT_EQ(store.entry(1)->pixel(0, 0), 0xF800);  // red
    EXPECT_EQ(store.entry(2)->pixel(0, 0), 0x001F);  // blue
    store.releaseTextures();
    EXPECT_EQ(store.markingTexture(1), -1);
    EXPECT_EQ(store.markingTexture(2), -1);
}

}  // namespace
}  // namespace slipway
