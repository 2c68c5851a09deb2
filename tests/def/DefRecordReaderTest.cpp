#include <gtest/gtest.h>

#include "TempDir.h"
#include "formats/DefRecordReader.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using test::DefBuilder;

DefBuilder threeRecords() {
    DefBuilder def;
    def.model("hull.clf").model("mast.cff", 0, 10, 0, 0).add({.cls = 204, .y = 5, .link = 1});
    return def;
}

std::vector<std::string> names(DefRecordReader& reader) {
    std::vector<std::string> out;
    DefRecord r;
    while (reader.next(r))
        out.push_back(defFileName(r));
    return out;
}

TEST(DefRecordReader, ReadsAsManyRecordsAsTheCountAndTheBytesAllow) {
    struct Case {
        const char* what;
        std::int32_t announced;
        std::size_t expected;
    };
    const Case cases[] = {
        {"exact", 3, 3},        {"fewer announced", 2, 2},       {"none", 0, 0},
        {"negative", -1, 0},    {"most negative", INT32_MIN, 0}, {"more announced", 10, 3},
        {"huge", INT32_MAX, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bytes = threeRecords().announce(c.announced).bytes();
        DefRecordReader reader(bytes);
        EXPECT_TRUE(reader.hasCount());
        EXPECT_EQ(reader.announcedCount(), c.announced);
        EXPECT_EQ(reader.recordsPresent(), 3u);
        EXPECT_EQ(reader.recordCount(), c.expected);
        EXPECT_EQ(names(reader).size(), c.expected);
        EXPECT_EQ(reader.index(), c.expected);
    }
}

TEST(DefRecordReader, AnExplicitLimitIgnoresTheCount) {
    const auto bytes = threeRecords().announce(-5).trailing({1, 2, 3}).bytes();
    DefRecordReader reader(bytes);
    DefRecord r;
    std::size_t read = 0;
    while (reader.next(r, 420))
        ++read;
    EXPECT_EQ(read, 3u);  // the partial record after them is not one

    DefRecordReader limited(bytes);
    while (limited.next(r, 2)) {
    }
    EXPECT_EQ(limited.index(), 2u);
}

TEST(DefRecordReader, AFileWithoutACountHasNoRecords) {
    const std::vector<std::uint8_t> bytes{3, 0};
    DefRecordReader reader(bytes);
    EXPECT_FALSE(reader.hasCount());
    EXPECT_EQ(reader.recordCount(), 0u);
    DefRecord r;
    EXPECT_FALSE(reader.next(r, 420));
}

TEST(DefRecordReader, OpeningLoadsOnlyTheRecordsWanted) {
    test::TempDir dir;
    DefBuilder def = threeRecords();
    def.model("extra1.clf").model("extra2.clf").announce(2).write(dir.file("ship.def"));

    auto byCount = openDefRecords(dir.file("ship.def"));
    ASSERT_TRUE(byCount);
    EXPECT_EQ(byCount->recordsPresent(), 2u);
    EXPECT_EQ(names(*byCount), (std::vector<std::string>{"hull.clf", "mast.cff"}));

    auto upTo420 = openDefRecords(dir.file("ship.def"), 420);
    ASSERT_TRUE(upTo420);
    EXPECT_EQ(upTo420->recordsPresent(), 5u);

    threeRecords().announce(INT32_MAX).write(dir.file("huge.def"));
    auto huge = openDefRecords(dir.file("huge.def"));
    ASSERT_TRUE(huge);
    EXPECT_EQ(names(*huge).size(), 3u);

    threeRecords().announce(-1).write(dir.file("negative.def"));
    auto negative = openDefRecords(dir.file("negative.def"));
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->recordsPresent(), 0u);

    EXPECT_FALSE(openDefRecords(dir.file("missing.def")));
    EXPECT_FALSE(openDefRecords(dir.path()));
}

}  // namespace
}  // namespace slipway
