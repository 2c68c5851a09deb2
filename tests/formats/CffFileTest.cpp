#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "formats/CffFile.h"

namespace slipway {
namespace {

CffModel sample() {
    CffModel model = test::cffModel({test::cffFan(5, "mast"), test::cffFan(300, "hull")});
    model.header.origin[0] = 10;
    model.header.extent = 7.5f;
    model.textureNames = {"wood.tga", "rope.tga"};
    CffTextureRecord record;
    record.extra.resize(2);
    record.extra[1][3] = 9;
    model.textureRecords = {record};
    model.levels[0].objects[0].keys = {KeyRecord{1, 0, 0, 0, 0, 0, 5}};
    return model;
}

TEST(CffFile, IndexWidthFollowsTheVertexCount) {
    EXPECT_EQ(cffTriangleSize(256), 3u);
    EXPECT_EQ(cffTriangleSize(257), 6u);
    const auto bytes = writeCff(sample());
    const std::size_t names = 1 + 8 + 1 + 8;
    const std::size_t records = 40 + 2 * 20 + 40;
    const std::size_t mast = 44 + 5 * 13 + 3 * 3 + 28;
    const std::size_t hull = 44 + 300 * 13 + 298 * 6;
    EXPECT_EQ(bytes.size(), 44 + names + records + 8 + mast + hull);
}

TEST(CffFile, WriteThenParseGivesTheSameModel) {
    const CffModel model = sample();
    const auto parsed = parseCff(writeCff(model));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->header.origin[0], 10);
    EXPECT_EQ(parsed->header.extent, 7.5f);
    EXPECT_EQ(parsed->textureNames, model.textureNames);
    ASSERT_EQ(parsed->textureRecords.size(), 2u);
    EXPECT_EQ(parsed->textureRecords[0].extra[1][3], 9);
    EXPECT_EQ(cffTextureExtraEntries(parsed->textureRecords[0].bytes), 2u);
    const auto& objects = parsed->levels[0].objects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].vertices, model.levels[0].objects[0].vertices);
    EXPECT_EQ(objects[0].keys, model.levels[0].objects[0].keys);
    EXPECT_EQ(objects[1].triangles, model.levels[0].objects[1].triangles);
    EXPECT_EQ(std::string(objects[1].header.shortName.data(), 4), "hull");
}

TEST(CffFile, EveryTruncationIsRefused) {
    const auto bytes = writeCff(sample());
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        EXPECT_FALSE(parseCff(std::span(bytes.data(), size))) << size;
    }
}

}  // namespace
}  // namespace slipway
