// The CLF and CFF layouts: which levels a walk covers, where each block lies, and where and
// why a walk stops.

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "formats/CffLayout.h"
#include "formats/ClfLayout.h"

namespace slipway {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A square on level 0, then `extraLevels` levels of one cube each.
ClfModel clfLevels(int extraLevels) {
    ClfModel model = test::clfSquare();
    for (int i = 0; i < extraLevels; ++i)
        model.levels.push_back({test::clfCube()});
    return model;
}

CffModel cffLevels(int levels) {
    CffModel model = test::cffModel({test::cffFan(5)});
    model.levels.resize(levels > 0 ? 1 : 0);
    while (static_cast<int>(model.levels.size()) < levels)
        model.levels.push_back(CffLevel{0, {test::cffFan(300)}});
    return model;
}

TEST(ModelLayout, LevelsWalkedAndTheRestAfterThem) {
    const std::size_t clfCube = 48 + 144 + 8 * 28 + 12 * 32;
    const std::size_t cffWide = 8 + 44 + 300 * 13 + 298 * 6;
    struct Case {
        const char* what;
        bool clf;
        Bytes bytes;
        LevelsWalked levels;
        std::size_t walked;
        std::size_t rest;
    };
    Bytes clfNoLevel = writeClf(test::clfSquare());
    test::patchU32(clfNoLevel, 16, 0);  // levelCount
    const Case cases[] = {
        {"CLF of six levels, readable", true, writeClf(clfLevels(5)), LevelsWalked::Readable, 4,
         2 * clfCube},
        {"CLF of six levels, first", true, writeClf(clfLevels(5)), LevelsWalked::First, 1,
         5 * clfCube},
        {"CLF of six levels, all", true, writeClf(clfLevels(5)), LevelsWalked::All, 6, 0},
        // Level 0's count is in the first header, so the first level is there to walk.
        {"CLF announcing no level, first", true, clfNoLevel, LevelsWalked::First, 1, 0},
        {"CLF announcing no level, readable", true, clfNoLevel, LevelsWalked::Readable, 0,
         144 + 4 * 28 + 2 * 32},
        {"CFF of six levels, readable", false, writeCff(cffLevels(6)), LevelsWalked::Readable, 4,
         2 * cffWide},
        {"CFF of six levels, first", false, writeCff(cffLevels(6)), LevelsWalked::First, 1,
         5 * cffWide},
        {"CFF of six levels, all", false, writeCff(cffLevels(6)), LevelsWalked::All, 6, 0},
        {"CFF of no level, first", false, writeCff(cffLevels(0)), LevelsWalked::First, 0, 0},
    };
    for (const Case& c : cases) {
        if (c.clf) {
            const ClfLayout layout = parseClfLayout(c.bytes, c.levels);
            ASSERT_TRUE(layout.ok()) << c.what;
            EXPECT_EQ(layout.levels.size(), c.walked) << c.what;
            EXPECT_EQ(layout.rest.size(), c.rest) << c.what;
        } else {
            const CffLayout layout = parseCffLayout(c.bytes, c.levels);
            ASSERT_TRUE(layout.ok()) << c.what;
            EXPECT_EQ(layout.levels.size(), c.walked) << c.what;
            EXPECT_EQ(layout.rest.size(), c.rest) << c.what;
        }
    }
}

TEST(ModelLayout, SpansNameEachBlockInPlace) {
    ClfModel clf = test::clfSquare("first");
    clf.textureNames = {"a.tga", "b.tga"};
    clf.levels[0][0].keys.resize(3);
    clf.levels[0].push_back(test::clfCube("second"));
    const Bytes clfBytes = writeClf(clf);
    const ClfLayout clfLayout = parseClfLayout(clfBytes);
    ASSERT_TRUE(clfLayout.ok());
    EXPECT_EQ(clfLayout.textureName(1), "b.tga");
    const auto& objects = clfLayout.levels.at(0).objects;
    ASSERT_EQ(objects.size(), 2u);
    const std::size_t first = 48 + 2 * 256 + 144;
    EXPECT_EQ(offsetIn(clfBytes, objects[0].vertices), first);
    EXPECT_EQ(offsetIn(clfBytes, objects[0].triangles), first + 4 * 28);
    EXPECT_EQ(offsetIn(clfBytes, objects[0].keys), first + 4 * 28 + 2 * 32);
    EXPECT_EQ(objects[0].keys.size(), 3 * kKeyRecordSize);
    // The second object's header follows the first one's key records.
    EXPECT_EQ(objects[1].header.objectName, "second");
    EXPECT_EQ(offsetIn(clfBytes, objects[1].vertices), first + 4 * 28 + 2 * 32 + 3 * 28 + 144);
    EXPECT_EQ(objects[1].vertex(7), clf.levels[0][1].vertices[7]);
    EXPECT_EQ(objects[1].triangle(11), clf.levels[0][1].triangles[11]);

    CffModel cff = test::cffModel({test::cffFan(300, "hull"), test::cffFan(4, "mast")});
    cff.textureNames = {"wood"};
    cff.textureRecords.resize(1);
    cff.textureRecords[0].extra.resize(2);
    const Bytes cffBytes = writeCff(cff);
    const CffLayout cffLayout = parseCffLayout(cffBytes);
    ASSERT_TRUE(cffLayout.ok());
    const auto& parts = cffLayout.levels.at(0).objects;
    const std::size_t hull = 44 + 5 + 40 + 2 * 20 + 8;
    EXPECT_EQ(offsetIn(cffBytes, parts[0].record), hull);
    EXPECT_EQ(parts[0].triangleSize(), 6u);
    EXPECT_EQ(parts[0].index(297, 2), 299);
    const std::size_t mast = hull + 44 + 300 * 13 + 298 * 6;
    EXPECT_EQ(offsetIn(cffBytes, parts[1].record), mast);
    EXPECT_EQ(parts[1].triangleSize(), 3u);
    EXPECT_EQ(parts[1].index(1, 2), 3);
    EXPECT_EQ(parts[1].vertex(3), cff.levels[0].objects[1].vertices[3]);
}

TEST(ModelLayout, AWalkStopsAtTheFirstBlockThatDoesNotFit) {
    ClfModel clf = test::clfSquare();
    clf.levels[0].push_back(test::clfCube("second"));
    const Bytes clfBytes = writeClf(clf);
    const std::size_t secondVertices = 48 + 144 + 4 * 28 + 2 * 32 + 144;
    const ClfLayout cut = parseClfLayout(std::span(clfBytes).first(secondVertices + 100));
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.failure->offset, secondVertices);
    EXPECT_EQ(cut.failure->reason, "level 0, object 1: vertex records");

    Bytes cffBytes = writeCff(test::cffModel({test::cffFan(5)}));
    test::patchU32(cffBytes, 44 + 8 + 36, 0xFFFFFFFF);  // keyRecords -1
    const CffLayout negative = parseCffLayout(cffBytes);
    ASSERT_FALSE(negative.ok());
    EXPECT_EQ(negative.failure->offset, 44u + 8);
    EXPECT_EQ(negative.failure->reason, "level 0, object 0: negative count");

    // Every prefix of a good file stops inside itself, whichever levels are walked.
    const Bytes cffGood = writeCff(cffLevels(2));
    for (LevelsWalked levels : {LevelsWalked::Readable, LevelsWalked::All}) {
        for (std::size_t size = 0; size < clfBytes.size(); ++size) {
            const ClfLayout layout = parseClfLayout(std::span(clfBytes).first(size), levels);
            ASSERT_FALSE(layout.ok()) << size;
            EXPECT_LE(layout.failure->offset, size);
        }
        for (std::size_t size = 0; size < cffGood.size(); ++size) {
            const CffLayout layout = parseCffLayout(std::span(cffGood).first(size), levels);
            ASSERT_FALSE(layout.ok()) << size;
            EXPECT_LE(layout.failure->offset, size);
        }
    }
}

}  // namespace
}  // namespace slipway
