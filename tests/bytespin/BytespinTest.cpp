#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "ProgramRun.h"
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
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    return out;
}

// The rule written out one byte at a time.
Bytes rotateEachByte(Bytes in, bool left) {
    for (std::size_t k = 0; k < in.size(); ++k) {
        const unsigned s = k % 8;
        const unsigned b = in[k];
        in[k] =
            static_cast<std::uint8_t>(left ? (b << s) | (b >> (8 - s)) : (b >> s) | (b << (8 - s)));
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
        {{"crypt", "*.dat"}, "\n2 files total - 2 files processed "},
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

// Each argument after the option is a mask, as when the shell has expanded one: one count
// line for the run, and a name that several masks match is coded once.
TEST(Bytespin, SeveralMasksAreTakenInTurnAndEachNameIsCodedOnce) {
    TempDir dir;
    ScopedCurrentDirectory cd(dir.path());
    const struct {
        std::vector<std::string> args;
        std::string output;
        std::vector<std::string> coded;
    } cases[] = {
        {{"c", "a.dat", "b.DAT"}, "\n2 files total - 2 files processed ", {"a.dat", "b.DAT"}},
        {{"c", "a.dat", "a.dat"}, "\n1 files total - 1 files processed ", {"a.dat"}},
        {{"c", "*.dat", "a.dat", "c.*"},
         "\n3 files total - 3 files processed ",
         {"a.dat", "b.DAT", "c.txt"}},
        {{"c", "*.none", "c.txt", "x.none"}, "\n1 files total - 1 files processed ", {"c.txt"}},
        {{"c", "*.none", "x.none"}, "", {}},
        {{"c", "*.*", "a.dat"},
         "\n5 files total - 3 files processed ",
         {"a.dat", "b.DAT", "c.txt"}},
        {{"c", "a.dat", std::string(260, 'a')}, "\nInvalid mask", {}},
    };
    for (const auto& c : cases) {
        for (const char* name : {"a.dat", "b.DAT", "c.txt"})
            writeBytes(name, Bytes(8, 1));
        EXPECT_EQ(runBytespin(c.args), c.output) << testing::PrintToString(c.args);
        for (const char* name : {"a.dat", "b.DAT", "c.txt"}) {
            const bool coded = std::find(c.coded.begin(), c.coded.end(), name) != c.coded.end();
            EXPECT_EQ(readBytes(name), coded ? rotateEachByte(Bytes(8, 1), true) : Bytes(8, 1))
                << name << " after " << testing::PrintToString(c.args);
        }
    }
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
    const std::size_t sizes[] = {1,
                                 7,
                                 9,
                                 kCoderChunkBytes - 1,
                                 kCoderChunkBytes,
                                 kCoderChunkBytes + 5,
                                 2 * kCoderChunkBytes + 3};
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

// The program itself: the README's `bytespin c *.*` unquoted reaches the program as the names
// the shell made of it, and every one of them is coded.
TEST(BytespinProgram, CodesEveryNameTheShellExpandedAMaskTo) {
    TempDir work;
    TempDir outputs;
    for (const char* name : {"a.dat", "b.dat", "c.txt"})
        writeBytes(work.file(name), Bytes(8, 1));
    const std::string program = BYTESPIN_PROGRAM;
    test::ProgramRun run =
        test::runProgram("cd " + work.path() + " && " + program + " c *.dat", outputs);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "\n2 files total - 2 files processed ");
    EXPECT_EQ(readBytes(work.file("a.dat")), rotateEachByte(Bytes(8, 1), true));
    EXPECT_EQ(readBytes(work.file("b.dat")), rotateEachByte(Bytes(8, 1), true));
    EXPECT_EQ(readBytes(work.file("c.txt")), Bytes(8, 1));

    // Quoted, the program expands the mask itself: the same files, undone.
    run = test::runProgram("cd " + work.path() + " && " + program + " d '*.dat'", outputs);
    EXPECT_EQ(run.out, "\n2 files total - 2 files processed ");
    EXPECT_EQ(readBytes(work.file("a.dat")), Bytes(8, 1));

    // The system's own usage for too few arguments stays as it was; --help is the full help.
    run = test::runProgram(program, outputs);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, kUsage);
    run = test::runProgram(program + " --help", outputs);
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("Usage: bytespin c|d MASK...\n", 0), 0u);
    for (const char* part :
         {"\n\nOptions:\n", "\n\nExamples:\n", "\n\nExit codes:\n", "bytespin c '*.*'\n"}) {
        EXPECT_NE(run.out.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace slipway
