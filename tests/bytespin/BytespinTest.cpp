#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "TempDir.h"
#include "TestFiles.h"
#include "bytespin/ByteCoder.h"
#include "bytespin/ScrambleRun.h"

namespace slipway {
namespace {

using test::readBytes;
using test::ScopedCurrentDirectory;
using test::TempDir;
using test::writeBytes;
using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(rng());
    return out;
}

// The rule written out one byte at a time.
Bytes rotateEachByte(Bytes in, bool left) {
    for (std::size_t k = 0; k < in.size(); ++k) {
        const unsigned s = k % 8;
        const unsigned b = in[k];
        in[k] = static_cast<std::uint8_t>(left ? (b << s) | (b >> (8 - s))
                                               : (b >> s) | (b << (8 - s)));
    }
    return in;
}

TEST(ByteCoder, EightOnesScrambleToTheRotationVector) {
    Bytes bytes(8, 0x01);
    codeBytes(bytes, 0, CoderMode::Scramble);
    EXPECT_EQ(bytes, (Bytes{0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}));
}

TEST(ByteCoder, MatchesTheByteRuleAtAnyStartPositionAndChunking) {
    const Bytes original = randomBytes(1000, 7);
    for (bool scramble : {true, false}) {
        const Bytes expected = rotateEachByte(original, scramble);
        const CoderMode mode = scramble ? CoderMode::Scramble : CoderMode::Unscramble;
        for (std::size_t split : {0u, 1u, 3u, 8u, 13u, 999u}) {
            Bytes bytes = original;
            codeBytes(std::span(bytes).first(split), 0, mode);
            codeBytes(std::span(bytes).subspan(split), split, mode);
            EXPECT_EQ(bytes, expected) << "split " << split << " scramble " << scramble;
        }
    }
}

TEST(ByteCoder, ScramblingTwiceDoesNotRestoreButUnscramblingDoes) {
    const Bytes original = randomBytes(64, 3);
    Bytes twice = original;
    codeBytes(twice, 0, CoderMode::Scramble);
    codeBytes(twice, 0, CoderMode::Scramble);
    EXPECT_NE(twice, original);
    Bytes back = original;
    codeBytes(back, 0, CoderMode::Scramble);
    codeBytes(back, 0, CoderMode::Unscramble);
    EXPECT_EQ(back, original);
}

const char* const kUsage =
    "\nFiles coder/decoder (work in current directory)\nSYNTAX: bytespin options mask"
    "\nEXAMPLES:\nFor crypt : bytespin.exe c *.*\nFor decode: bytespin.exe d *.*";

TEST(Bytespin, ArgumentsAndMasks) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    writeBytes("a.dat", Bytes(8, 1));
    writeBytes("b.DAT", Bytes(8, 1));
    writeBytes("c.txt", Bytes(8, 1));
    struct Case {
        std::vector<std::string> args;
        std::string output;
    };
    const Case cases[] = {
        {{}, kUsage},
        {{"c"}, kUsage},
        {{"x", "*.*"}, "\nInvalid options"},
        {{"", "*.*"}, "\nInvalid options"},
        {{"c", std::string(260, 'a')}, "\nInvalid mask"},
        {{"c", "*.none"}, ""},
        {{"crypt", "*.dat", "ignored"}, "\n2 files total - 2 files processed "},
        {{"Decode", "*.dat"}, "\n2 files total - 2 files processed "},
        {{"C", "c.txt"}, "\n1 files total - 1 files processed "},
        {{"d", "c.txt"}, "\n1 files total - 1 files processed "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runBytespin(c.args), c.output) << (c.args.empty() ? "" : c.args[0]);
    }
    // Every coding run above was undone by the next one.
    EXPECT_EQ(readBytes("a.dat"), Bytes(8, 1));
    EXPECT_EQ(readBytes("c.txt"), Bytes(8, 1));
}

TEST(Bytespin, InvalidOptionsAndMasksTouchNothing) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    writeBytes("a.dat", Bytes(16, 1));
    runBytespin({"x", "*.*"});
    runBytespin({"c", std::string(300, '*')});
    EXPECT_EQ(readBytes("a.dat"), Bytes(16, 1));
}

TEST(Bytespin, DotEntriesAreCountedButNotProcessedAndEmptyFilesAreProcessed) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    writeBytes("empty", {});
    std::filesystem::create_directory("sub");
    EXPECT_EQ(runBytespin({"c", "*.*"}), "\n4 files total - 1 files processed ");
    EXPECT_TRUE(readBytes("empty").empty());
}

TEST(Bytespin, RoundTripsAroundChunkBoundaries) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    const std::size_t sizes[] = {1, 7, 9, kCoderChunkBytes - 1, kCoderChunkBytes,
                                 kCoderChunkBytes + 5, 2 * kCoderChunkBytes + 3};
    for (std::size_t size : sizes) {
        const Bytes original = randomBytes(size, static_cast<unsigned>(size));
        writeBytes("f.bin", original);
        ASSERT_EQ(runBytespin({"c", "f.bin"}), "\n1 files total - 1 files processed ");
        const Bytes scrambled = readBytes("f.bin");
        ASSERT_EQ(scrambled, rotateEachByte(original, true)) << size;
        runBytespin({"d", "f.bin"});
        ASSERT_EQ(readBytes("f.bin"), original) << size;
    }
}

TEST(Bytespin, AMaskWithADirectoryOpensEachMatchByItsBareName) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    std::filesystem::create_directory("sub");
    writeBytes("sub/m.dat", Bytes(8, 1));
    writeBytes("m.dat", Bytes(8, 1));
    writeBytes("sub/only-here.dat", Bytes(8, 1));
    EXPECT_EQ(runBytespin({"c", "sub/*.dat"}), "\n2 files total - 1 files processed ");
    EXPECT_EQ(readBytes("m.dat"), rotateEachByte(Bytes(8, 1), true));
    EXPECT_EQ(readBytes("sub/m.dat"), Bytes(8, 1));
    EXPECT_EQ(readBytes("sub/only-here.dat"), Bytes(8, 1));
}

TEST(Bytespin, AFileThatCannotBeWrittenIsNotCountedAndStaysUnchanged) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    const Bytes original = randomBytes(3 * kCoderChunkBytes / 2, 11);
    writeBytes("big.bin", original);
    writeBytes("small.bin", Bytes(8, 1));
    ScrambleHooks fullDisk;
    fullDisk.failWriteAfterBytes = kCoderChunkBytes + 100;  // fails part-way through big.bin
    EXPECT_EQ(runBytespin({"c", "*.bin"}, fullDisk), "\n2 files total - 1 files processed ");
    EXPECT_EQ(readBytes("big.bin"), original);
    EXPECT_EQ(readBytes("small.bin"), rotateEachByte(Bytes(8, 1), true));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                            std::filesystem::directory_iterator()),
              2);  // no temporary left behind
}

TEST(Bytespin, PermissionsOfProcessedFilesAreKept) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    writeBytes("x.bin", Bytes(8, 1));
    ::chmod("x.bin", 0751);
    runBytespin({"c", "x.bin"});
    struct stat st {};
    ASSERT_EQ(::stat("x.bin", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0751u);
}

}  // namespace
}  // namespace slipway
