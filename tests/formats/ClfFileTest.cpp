#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "formats/ClfFile.h"

namespace slipway {
namespace {

ClfModel twoLevelModel() {
    ClfModel model = test::clfSquare("hull");
    model.version = kClfEditedVersion;
    model.keysPerObject = 1;
    model.textureNames = {"deck.tga", "sub\\sail.tga"};
    model.levels[0][0].textureNameIndex = 1;
    model.levels[0][0].doubleSided = true;
    model.levels[0][0].keys = {KeyRecord{1, 2, 3, 0.1f, 0.2f, 0.3f, 0xABCD}};
    model.levels.push_back({test::clfCube("low")});
    return model;
}

TEST(ClfFile, LayoutOfEveryBlock) {
    const std::vector<std::uint8_t> bytes = writeClf(twoLevelModel());
    // Header, 2 names, square (4 vertices, 2 triangles, 1 key), second header, cube (8, 12).
    const std::size_t square = 144 + 4 * 28 + 2 * 32 + 28;
    const std::size_t cube = 144 + 8 * 28 + 12 * 32;
    ASSERT_EQ(bytes.size(), 48 + 2 * 256 + square + 48 + cube);
    ByteReader in(bytes);
    const ClfHeader h = readClfHeader(in);
    EXPECT_EQ(h.magic, kClfMagic);
    EXPECT_EQ(h.version, kClfEditedVersion);
    EXPECT_EQ(h.levelCount, 2u);
    EXPECT_EQ(h.textureNameCount, 2u);
    EXPECT_EQ(h.levelObjects, 1u);
    EXPECT_EQ(h.keysPerObject, 1u);
    EXPECT_EQ(in.name(256), "deck.tga");
    in.skip(256);
    const ClfObjectHeader oh = readClfObjectHeader(in);
    EXPECT_EQ(oh.objectName, "hull");
    EXPECT_EQ(oh.keyRecords, 1u);
    EXPECT_EQ(oh.textureNameIndex, 1u);
    EXPECT_EQ(oh.vertexRecords, 4u);
    EXPECT_EQ(oh.triangleRecords, 2u);
    EXPECT_EQ(oh.doubleSidedFlag, 1);
    EXPECT_EQ(bytes[48 + 512 + 123], 1);  // the flag's byte in the object header
}

TEST(ClfFile, WriteThenParseGivesTheSameModel) {
    const ClfModel model = twoLevelModel();
    const auto parsed = parseClf(writeClf(model));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->textureNames, model.textureNames);
    ASSERT_EQ(parsed->levels.size(), 2u);
    const ClfObject& a = parsed->levels[0][0];
    EXPECT_EQ(a.name, "hull");
    EXPECT_TRUE(a.doubleSided);
    EXPECT_EQ(a.vertices, model.levels[0][0].vertices);
    EXPECT_EQ(a.triangles, model.levels[0][0].triangles);
    EXPECT_EQ(a.keys, model.levels[0][0].keys);
    EXPECT_EQ(parsed->levels[1][0].triangles.size(), 12u);
}

TEST(ClfFile, EveryTruncationIsRefused) {
    const std::vector<std::uint8_t> bytes = writeClf(twoLevelModel());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_FALSE(parseClf(std::span(bytes.data(), size))) << size;
    }
}

TEST(ClfFile, CountsBeyondTheFileAreRefusedBeforeAllocating) {
    std::vector<std::uint8_t> bytes = writeClf(test::clfSquare());
    test::patchU32(bytes, 48 + 40, 0xFFFFFFFF);  // vertexRecords of the first object
    EXPECT_FALSE(parseClf(bytes));
}

}  // namespace
}  // namespace slipway
