#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

#include "TempDir.h"
#include "TestFiles.h"
#include "formats/DefFile.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using test::DefBuilder;
using test::DefEntry;

std::string fileBytesAfterName(const DefRecord& r) {
    const std::string name = defFileName(r);
    return std::string(r.File.data() + name.size() + 1, r.File.size() - name.size() - 1);
}

TEST(DefFile, ParsesEveryFieldAndWritesTheSameBytesBack) {
    const std::string longName(256, 'n');  // fills the field, no terminator
    DefBuilder def;
    def.add({.cls = 200,
             .type = 221,
             .file = "hull.clf",
             .x = 1.5f,
             .y = -2.0f,
             .z = 3.25f,
             .ax = 0.5f,
             .ay = -0.25f,
             .az = 3.0f,
             .link = -1,
             .fileTail = "old_longer_name.cff"})
        .add({.num = 77, .cls = 202, .type = 6, .file = "sails.sai", .x = 1e-8f, .link = 0})
        .add({.cls = 215, .type = -3, .file = longName, .az = -0.0f, .link = 1});
    const auto bytes = def.bytes();
    ASSERT_EQ(bytes.size(), 4u + 3 * 296);

    const auto doc = parseDefDocument(bytes);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->count(), 3);
    EXPECT_EQ(doc->capacity, 8);
    const DefRecord& hull = doc->records[0];
    EXPECT_EQ(hull.Num, 0);
    EXPECT_EQ(hull.Class, 200);
    EXPECT_EQ(hull.Type, 221);
    EXPECT_EQ(defFileName(hull), "hull.clf");
    EXPECT_EQ(fileBytesAfterName(hull).substr(0, 19), "old_longer_name.cff");
    EXPECT_EQ(hull.X, 1.5f);
    EXPECT_EQ(hull.Y, -2.0f);
    EXPECT_EQ(hull.Z, 3.25f);
    EXPECT_EQ(hull.Ax, 0.5f);
    EXPECT_EQ(hull.Ay, -0.25f);
    EXPECT_EQ(hull.Az, 3.0f);
    EXPECT_EQ(hull.Link, -1);
    EXPECT_EQ(doc->records[1].Num, 77);
    EXPECT_EQ(doc->records[1].Link, 0);
    EXPECT_EQ(defFileName(doc->records[2]), longName);
    EXPECT_TRUE(std::signbit(doc->records[2].Az));

    EXPECT_EQ(serializeDefFile(doc->records), bytes);
}

TEST(DefFile, CountRules) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool opens;
        int count;
        int capacity;
    };
    DefBuilder two;
    two.model("a.clf").model("b.clf");
    DefBuilder full;
    for (int i = 0; i < 200; ++i)
        full.model("m.clf");
    DefBuilder over;
    for (int i = 0; i < 201; ++i)
        over.model("m.clf");
    const Case cases[] = {
        {"no records", DefBuilder().bytes(), true, 0, 5},
        {"two records", two.bytes(), true, 2, 7},
        {"200 records", full.bytes(), true, 200, 205},
        {"201 records", over.bytes(), false, 0, 0},
        {"negative count", DefBuilder(two).announce(-1).bytes(), false, 0, 0},
        {"huge count", DefBuilder(two).announce(INT32_MAX).bytes(), false, 0, 0},
        {"empty file", {}, false, 0, 0},
        {"count cut short", {1, 0, 0}, false, 0, 0},
        {"announces 10, holds 2", DefBuilder(two).announce(10).bytes(), true, 2, 7},
        {"partial last record dropped",
         DefBuilder(two).announce(3).trailing(std::vector<std::uint8_t>(295, 7)).bytes(), true, 2,
         7},
        {"bytes after the announced records ignored",
         DefBuilder(two).announce(1).trailing({1, 2, 3}).bytes(), true, 1, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto doc = parseDefDocument(c.bytes);
        ASSERT_EQ(doc.has_value(), c.opens);
        if (!doc)
            continue;
        EXPECT_EQ(doc->count(), c.count);
        EXPECT_EQ(doc->capacity, c.capacity);
    }
}

TEST(DefFile, EveryTruncationParsesOnlyWholeRecords) {
    DefBuilder def;
    def.model("a.clf", 1, 2, 3).model("b.cff", 4, 5, 6, 0).add({.cls = 204, .type = 2, .link = 1});
    const auto bytes = def.bytes();
    const auto whole = parseDefDocument(bytes);
    ASSERT_TRUE(whole);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + n);
        const auto doc = parseDefDocument(prefix);
        if (n < 4) {
            EXPECT_FALSE(doc) << n;
            continue;
        }
        ASSERT_TRUE(doc) << n;
        const std::size_t expected = (n - 4) / 296;
        ASSERT_EQ(doc->records.size(), expected) << n;
        for (std::size_t i = 0; i < expected; ++i)
            EXPECT_EQ(doc->records[i], whole->records[i]);
    }
}

TEST(DefFile, ReadSetsThePathAndRefusesWhatItCannotOpen) {
    test::TempDir dir;
    DefBuilder().model("hull.clf").write(dir.file("ship.def"));
    DefBuilder().model("hull.clf").announce(201).write(dir.file("big.def"));

    const auto doc = readDefFile(dir.file("ship.def"));
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->path, dir.file("ship.def"));
    EXPECT_EQ(doc->count(), 1);

    EXPECT_FALSE(readDefFile(dir.file("big.def")));
    EXPECT_FALSE(readDefFile(dir.file("missing.def")));
    EXPECT_FALSE(readDefFile(dir.path()));  // a directory
}

TEST(DefFile, WriteIsExactAndAtomic) {
    test::TempDir dir;
    DefBuilder def;
    def.add({.file = "mast.cff", .x = 2.0f, .link = -1, .fileTail = "remains"}).model("b.clf");
    const auto original = def.bytes();
    auto doc = parseDefDocument(original);
    ASSERT_TRUE(doc);
    doc->path = dir.file("out.def");

    ASSERT_TRUE(writeDefFile(*doc));
    EXPECT_EQ(test::readBytes(doc->path), original);

    // No records: the count alone.
    ASSERT_TRUE(writeDefFile(doc->path, {}));
    EXPECT_EQ(test::readBytes(doc->path), (std::vector<std::uint8_t>{0, 0, 0, 0}));

    // An empty path writes nothing; an unwritable place reports failure and creates nothing.
    EXPECT_FALSE(writeDefFile("", doc->records));
    EXPECT_FALSE(writeDefFile(dir.file("no/such/dir/out.def"), doc->records));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no")));
    EXPECT_EQ(std::filesystem::directory_iterator(dir.path())->path().filename(), "out.def");
}

TEST(DefFile, TheEditorSavesMoreRecordsThanItReopens) {
    test::TempDir dir;
    std::vector<DefRecord> records(205);
    ASSERT_TRUE(writeDefFile(dir.file("many.def"), records));
    EXPECT_EQ(test::readBytes(dir.file("many.def")).size(), 4u + 205 * 296);
    EXPECT_FALSE(readDefFile(dir.file("many.def")));
}

TEST(DefRecord, SettingANameKeepsTheBytesAfterItsTerminator) {
    DefRecord r;
    setDefFileName(r, "a_rather_long_model_name.clf");
    setDefFileName(r, "short.cff");
    EXPECT_EQ(defFileName(r), "short.cff");
    EXPECT_EQ(std::string(r.File.data() + 10, 18), "ong_model_name.clf");

    const std::string name63(63, 'x');
    setDefFileName(r, name63);
    EXPECT_EQ(defFileName(r), name63);
    EXPECT_EQ(r.File[63], '\0');

    setDefFileName(r, std::string(300, 'y'));  // cut so that the terminator still fits
    EXPECT_EQ(defFileName(r), std::string(255, 'y'));
}

}  // namespace
}  // namespace slipway
