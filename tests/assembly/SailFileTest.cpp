// The sail file layout, its whole-file reading and the generator's entry search.

#include <gtest/gtest.h>

#include <cstring>

#include "ModelFixtures.h"
#include "formats/SailFile.h"
#include "formats/SailLayout.h"

namespace slipway {
namespace {

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

float f32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    float v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

using test::sailEntry;

TEST(SailFile, RecordAndAttachedMeshSitAtTheirOffsets) {
    SailEntry e = sailEntry(7, 1);
    e.record.corners[3] = {4.0f, 5.0f, 6.0f};
    const auto bytes = writeSailFile(std::vector<SailEntry>{e});
    ASSERT_EQ(bytes.size(), 64u + 40u + 3 * 28u + 32u);
    EXPECT_EQ(u32At(bytes, 0), 7u);
    EXPECT_EQ(u32At(bytes, 4), static_cast<std::uint32_t>(kTriangularSailShape));
    EXPECT_EQ(f32At(bytes, 8), 0.5f);
    EXPECT_EQ(f32At(bytes, 12), 0.0f);   // corner0.x
    EXPECT_EQ(f32At(bytes, 28), 11.0f);  // corner1.y
    EXPECT_EQ(f32At(bytes, 48), 4.0f);   // corner3
    EXPECT_EQ(f32At(bytes, 56), 6.0f);
    EXPECT_EQ(u32At(bytes, 60), 1u);  // attachedCount
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 64)), "rope.tga");
    EXPECT_EQ(u32At(bytes, 96), 3u);          // vertex count
    EXPECT_EQ(u32At(bytes, 100), 1u);         // triangle count
    EXPECT_EQ(f32At(bytes, 104 + 28), 1.0f);  // second vertex x
}

TEST(SailFile, RoundTripsAndRefusesEveryTruncation) {
    const std::vector<SailEntry> entries = {sailEntry(3, 2), sailEntry(7, 0), sailEntry(9, 1)};
    const auto bytes = writeSailFile(entries);
    const auto parsed = parseSailFile(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, entries);

    // Only the cuts at entry boundaries are whole files.
    const std::size_t first = 64 + 2 * (40 + 3 * 28 + 32);
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        const auto prefix = std::span(bytes).first(cut);
        const bool boundary = cut == first || cut == first + 64;
        EXPECT_EQ(parseSailFile(prefix).has_value(), boundary) << "cut at " << cut;
        SailEntry found;
        findSailEntry(prefix, 9, found);  // must stay in bounds whatever the cut
    }
}

TEST(SailFile, EntrySearchFindsEachIndexAndSkipsAttachedMeshes) {
    const auto bytes = writeSailFile(std::vector<SailEntry>{sailEntry(3, 2), sailEntry(7, 1)});
    SailEntry out;
    ASSERT_EQ(findSailEntry(bytes, 3, out), SailLookup::Found);
    EXPECT_EQ(out, sailEntry(3, 2));
    ASSERT_EQ(findSailEntry(bytes, 7, out), SailLookup::Found);
    EXPECT_EQ(out, sailEntry(7, 1));
    EXPECT_EQ(findSailEntry(bytes, 5, out), SailLookup::NotFound);
    EXPECT_EQ(findSailEntry({}, 0, out), SailLookup::NotFound);
}

TEST(SailFile, LessThanARecordAfterTheLastEntryIsPassedOver) {
    auto bytes = writeSailFile(std::vector<SailEntry>{sailEntry(3, 2), sailEntry(7, 1)});
    bytes.insert(bytes.end(), 63, 0x5A);
    SailEntry out;
    ASSERT_EQ(findSailEntry(bytes, 7, out), SailLookup::Found);
    EXPECT_EQ(out, sailEntry(7, 1));
    const SailLayout layout = parseSailLayout(bytes);
    ASSERT_TRUE(layout.ok());
    EXPECT_EQ(layout.entries.size(), 2u);
    EXPECT_EQ(layout.rest.size(), 63u);
    EXPECT_FALSE(parseSailFile(bytes));  // a document holds whole entries only

    // One byte more makes a record, whose attached meshes (0x5A5A5A of them) are not there.
    bytes.push_back(0);
    const SailLayout damaged = parseSailLayout(bytes);
    ASSERT_FALSE(damaged.ok());
    EXPECT_EQ(damaged.entries.size(), 2u);
    EXPECT_EQ(damaged.damaged->sailIndex, 0x5A5A5A5A);
    EXPECT_EQ(findSailEntry(bytes, 7, out), SailLookup::Found);
    EXPECT_EQ(findSailEntry(bytes, 0x5A5A5A5A, out), SailLookup::Damaged);
}

TEST(SailFile, EntrySearchSurvivesHostileCounts) {
    struct Case {
        const char* what;
        std::int32_t attachedCount;
        std::int32_t wanted;
        SailLookup expected;
        std::size_t attached;
    };
    const Case cases[] = {
        {"huge count on the wanted entry", 0x7fffffff, 3, SailLookup::Damaged, 0},
        {"huge count on an entry skipped", 0x7fffffff, 7, SailLookup::NotFound, 0},
        {"negative count reads as none", -5, 3, SailLookup::Found, 0},
        {"negative count, next entry found", -5, 7, SailLookup::Found, 1},
    };
    for (const Case& c : cases) {
        auto bytes = writeSailFile(std::vector<SailEntry>{sailEntry(3, 0), sailEntry(7, 1)});
        std::memcpy(bytes.data() + 60, &c.attachedCount, 4);
        SailEntry out;
        EXPECT_EQ(findSailEntry(bytes, c.wanted, out), c.expected) << c.what;
        if (c.expected == SailLookup::Found) {
            EXPECT_EQ(out.attached.size(), c.attached) << c.what;
        }
    }

    // An attached mesh announcing more vertices than the file holds.
    auto bytes = writeSailFile(std::vector<SailEntry>{sailEntry(3, 1)});
    const std::uint32_t vertices = 0x10000000;
    std::memcpy(bytes.data() + 96, &vertices, 4);
    SailEntry out;
    EXPECT_EQ(findSailEntry(bytes, 3, out), SailLookup::Damaged);
    EXPECT_FALSE(parseSailFile(bytes));
}

}  // namespace
}  // namespace slipway
