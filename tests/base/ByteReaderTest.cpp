#include "base/ByteReader.h"

#include <gtest/gtest.h>

#include "base/ByteWriter.h"

namespace slipway {
namespace {

TEST(ByteReader, ReadsLittleEndianValuesWrittenByByteWriter) {
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.i16(-2);
    w.u32(0xDEADBEEF);
    w.i32(-100000);
    w.f32(-1.5f);
    w.name("hull", 8);
    ByteReader r(w.data());
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.i16(), -2);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.i32(), -100000);
    EXPECT_EQ(r.f32(), -1.5f);
    EXPECT_EQ(r.name(8), "hull");
    EXPECT_TRUE(r.ok());
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_EQ(w.data()[1], 0x34);  // low byte first
}

TEST(ByteReader, ShortReadsYieldZerosAndStickyFailure) {
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    ByteReader r(bytes);
    EXPECT_EQ(r.u32(), 0u);
    EXPECT_TRUE(r.failed());
    // Once failed, even reads that would fit give zeros, so a record is checked once.
    EXPECT_EQ(r.u8(), 0);
    float f = 7;
    r.bytes(&f, sizeof f);
    EXPECT_EQ(f, 0.0f);
    EXPECT_TRUE(r.view(1).empty());
}

TEST(ByteReader, NamesStopAtTheFirstZeroOrUseTheWholeWidth) {
    ByteWriter w;
    w.name("abc", 6);
    w.name("abcdefgh", 4);  // cut to the width, no terminator
    ByteReader r(w.data());
    EXPECT_EQ(r.name(6), "abc");
    EXPECT_EQ(r.name(4), "abcd");
    EXPECT_EQ(w.size(), 10u);
}

TEST(ByteReader, SeekSkipAndCanReadCheckBoundsWithoutOverflow) {
    const std::vector<std::uint8_t> bytes(16, 0x11);
    ByteReader r(bytes);
    EXPECT_TRUE(r.canRead(4, 4));
    EXPECT_FALSE(r.canRead(5, 4));
    EXPECT_FALSE(r.canRead(SIZE_MAX / 2, 4));  // would overflow when multiplied
    r.skip(10);
    EXPECT_EQ(r.remaining(), 6u);
    EXPECT_TRUE(r.seek(16));
    EXPECT_EQ(r.remaining(), 0u);
    EXPECT_FALSE(r.seek(17));
    EXPECT_TRUE(r.failed());
}

TEST(ByteReader, OwnsAMovedBuffer) {
    std::vector<std::uint8_t> bytes{0x78, 0x56, 0x34, 0x12};
    ByteReader a(std::move(bytes));
    ByteReader b(std::move(a));
    EXPECT_EQ(b.u32(), 0x12345678u);
}

TEST(ByteWriter, PatchesAnEarlierCount) {
    ByteWriter w;
    w.u32(0);
    w.u8(9);
    w.patchU32(0, 42);
    ByteReader r(w.data());
    EXPECT_EQ(r.u32(), 42u);
}

}  // namespace
}  // namespace slipway
