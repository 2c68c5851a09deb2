#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "PixelPatterns.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "pixels/PixelImage.h"
#include "pixels/TgaFile.h"
#include "pixmill/CommandLine.h"

namespace slipway {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;

struct Outcome {
    int code;
    std::string out, err;
};

Outcome run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int code = pixmill::runCommand(args, out, err);
    return {code, out.str(), err.str()};
}

void writeTga(const std::string& path, std::uint32_t width, std::uint32_t height,
              std::uint32_t format, std::uint32_t seed = 1) {
    PixelImage picture;
    picture.create(width, height, format);
    const auto pixels = test::makePattern(test::Pattern::Blocks, width, height, seed);
    for (std::uint32_t i = 0; i < width * height; ++i)
        picture.setPixel(i % width, i / width, pixels[i]);
    test::writeBytes(path, encodeTga(picture));
}

TEST(PixmillCommandLine, BadUsageExitsWithTwoAndTheUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"convert"},
        {"convert", "--no16", "--no8", "a.tga"},
        {"convert", "--mips16", "count:0", "a.tga"},
        {"convert", "--mips8", "minsize:16", "a.tga"},
        {"convert", "--mips8", "size:3", "a.tga"},
        {"convert", "--attenuation", "10", "a.tga"},
        {"convert", "--vcopy", "3", "a.tga"},
        {"convert", "--jobs", "0", "a.tga"},
        {"convert", "--overwrite", "maybe", "a.tga"},
        {"convert", "--jobs"},
        {"convert", "--frob", "a.tga"},
        {"export", "--depth", "12", "a.tf"},
        {"export", "--chain", "12", "a.tf"},
        {"info"},
    };
    for (const auto& args : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_THAT(r.err, HasSubstr("usage: pixmill convert")) << ::testing::PrintToString(args);
    }
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_THAT(help.out, HasSubstr("pixmill info"));
}

// The same batch with one worker and with three gives the same files and the same messages,
// in the order of the files.
TEST(PixmillCommandLine, ConvertOutputDoesNotDependOnTheJobCount) {
    test::TempDir dir;
    std::vector<std::string> files;
    for (int i = 0; i < 5; ++i) {
        files.push_back(dir.file("p" + std::to_string(i) + ".tga"));
        writeTga(files.back(), i == 2 ? 24 : 16, 8 + 4 * i, i % 2 ? 24 : (32 | formatAlpha), i);
    }
    files.insert(files.begin() + 3, dir.file("missing.tga"));

    std::vector<Outcome> runs;
    for (const char* jobs : {"1", "3"}) {
        const std::string out = dir.file(std::string("out") + jobs);
        fs::create_directory(out);
        std::vector<std::string> args = {"convert", "--jobs", jobs, "-o", out};
        args.insert(args.end(), files.begin(), files.end());
        runs.push_back(run(args));
    }
    EXPECT_EQ(runs[0].code, 1);
    EXPECT_EQ(runs[0].err, runs[1].err);
    // Sizes 16x8 (kept), 16x12, 24x16, 16x20 and 16x24.
    std::string expected;
    for (int i : {1, 2})
        expected += "Texture " + files[i] + " have error size\n";
    expected += "Error: no open file " + files[3] + "\n";
    for (int i : {4, 5})
        expected += "Texture " + files[i] + " have error size\n";
    EXPECT_EQ(runs[0].err, expected);
    for (int i = 0; i < 5; ++i) {
        const std::string name = "p" + std::to_string(i) + ".tf";
        const auto one = test::readBytes(dir.file("out1/" + name));
        ASSERT_FALSE(one.empty()) << name;
        EXPECT_TRUE(one == test::readBytes(dir.file("out3/" + name))) << name;
    }
}

// Two sources that land on the same output are handled in order, as by a single worker: the
// first writes it, the second finds it and is skipped.
TEST(PixmillCommandLine, SourcesSharingAnOutputRunInOrder) {
    test::TempDir dir;
    fs::create_directory(dir.file("x"));
    fs::create_directory(dir.file("y"));
    fs::create_directory(dir.file("out"));
    writeTga(dir.file("x/a.tga"), 8, 8, 24, 1);
    writeTga(dir.file("y/a.tga"), 8, 8, 24, 2);
    writeTga(dir.file("b.tga"), 8, 8, 24, 3);
    const Outcome r = run({"convert", "--jobs", "2", "-o", dir.file("out"), dir.file("x/a.tga"),
                           dir.file("b.tga"), dir.file("y/a.tga")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "File exists, skipped: " + dir.file("out/a.tf") + "\n");
    ASSERT_EQ(run({"convert", "-o", dir.path(), dir.file("x/a.tga")}).code, 0);
    EXPECT_TRUE(test::readBytes(dir.file("out/a.tf")) == test::readBytes(dir.file("a.tf")));
}

TEST(PixmillCommandLine, ExistingOutputsAreSkippedUnlessOverwriteIsYes) {
    test::TempDir dir;
    const std::string tga = dir.file("a.tga");
    writeTga(tga, 8, 8, 24);
    const std::string tf = dir.file("a.tf");  // next to the source without -o
    test::writeText(tf, "old");

    Outcome r = run({"convert", tga});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "File exists, skipped: " + tf + "\n");
    EXPECT_EQ(test::readText(tf), "old");

    r = run({"convert", "--overwrite", "yes", tga});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(test::readText(tf), "old");
}

TEST(PixmillCommandLine, ConvertOptionsReachTheTexture) {
    test::TempDir dir;
    const std::string tga = dir.file("a.tga");
    writeTga(tga, 64, 32, 32 | formatAlpha);
    struct Case {
        std::vector<std::string> options;
        std::uint8_t code, count16, count8;
    } const cases[] = {
        {{}, 1, 2, 2},  // minsize:4: 64x32 and 32x16
        {{"--alpha4", "--no8"}, 2, 2, 0},
        {{"--no16", "--mips8", "count:2"}, 0, 0, 2},
        {{"--mips16", "minsize:0", "--mips8", "count:16"}, 1, 6, 5},
        {{"--attenuation", "5", "--vcopy", "1", "--hcopy", "2"}, 1, 2, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"convert", "--overwrite", "yes"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.push_back(tga);
        ASSERT_EQ(run(args).code, 0) << ::testing::PrintToString(c.options);
        const auto bytes = test::readBytes(dir.file("a.tf"));
        ASSERT_GE(bytes.size(), 16u);
        EXPECT_EQ(bytes[5], c.code) << ::testing::PrintToString(c.options);
        EXPECT_EQ(bytes[6], c.count16) << ::testing::PrintToString(c.options);
        EXPECT_EQ(bytes[7], c.count8) << ::testing::PrintToString(c.options);
    }
}

TEST(PixmillCommandLine, ExportAndInfo) {
    test::TempDir dir;
    const std::string tga = dir.file("a.tga");
    writeTga(tga, 16, 8, 32 | formatAlpha);
    ASSERT_EQ(run({"convert", "--mips16", "count:2", "--mips8", "count:3", tga}).code, 0);
    const std::string tf = dir.file("a.tf");
    fs::create_directory(dir.file("back"));

    Outcome r =
        run({"export", "--chain", "8", "--level", "1", "--depth", "8", "-o", dir.file("back"), tf});
    EXPECT_EQ(r.code, 0) << r.err;
    const std::string back = dir.file("back/a.tga");
    EXPECT_EQ(test::readBytes(back).size(), 18u + 768 + 8 * 4);

    r = run({"export", "--chain", "8", "-o", dir.file("back"), tf});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "File exists, skipped: " + back + "\n");

    r = run({"info", tga, tf, back, dir.file("missing.tf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, tga + "\tSize: 16x8; BPP: 32; Alpha channel\n" + tf +
                         "\tSize: 16x8; BPP: 16; Alpha channel; 16 bit mips: 2; 8 bit mips: 3\n" +
                         back + "\tSize: 8x4; BPP: 8\n");
    EXPECT_EQ(r.err, "Error access file: " + dir.file("missing.tf") + "\n");

    r = run({"export", "--chain", "16", "--overwrite", "yes", dir.file("missing.tf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Error open file: " + dir.file("missing.tf") + "\n");
}

// A texture without 16-bit levels is described from its 8-bit chain instead of being reported
// as unreadable.
TEST(PixmillCommandLine, InfoDescribesTexturesWithOnlyAnEightBitChain) {
    test::TempDir dir;
    const std::string tga = dir.file("a.tga");
    writeTga(tga, 16, 8, 32 | formatAlpha);
    ASSERT_EQ(run({"convert", "--no16", "--mips8", "count:2", tga}).code, 0);
    const Outcome r = run({"info", dir.file("a.tf")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, dir.file("a.tf") + "\tSize: 16x8; BPP: 8; 8 bit mips: 2\n");
    EXPECT_EQ(r.err, "");
}

// Runs the program in a shell whose file size limit makes every write beyond a few kilobytes
// fail, as on a full disk.
Outcome runWithSmallFileLimit(const test::TempDir& dir, const std::string& args) {
    const std::string err = dir.file("err.txt");
    const std::string command =
        "trap '' XFSZ; ulimit -f 4; " + std::string(PIXMILL_PROGRAM) + " " + args + " 2>" + err;
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status));
    return {WEXITSTATUS(status), "", test::readText(err)};
}

// A write error is reported with the file-error text and ends the batch: later files are not
// started.
TEST(PixmillCommandLine, AWriteErrorEndsTheBatch) {
    test::TempDir dir;
    const std::string big = dir.file("big.tga");
    const std::string small = dir.file("small.tga");
    writeTga(big, 64, 64, 32 | formatAlpha);
    writeTga(small, 4, 4, 24);

    Outcome r = runWithSmallFileLimit(dir, "convert --jobs 1 " + big + " " + small);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Disk full while accessing " + dir.file("big.tf") + ".\n");
    EXPECT_FALSE(fs::exists(dir.file("big.tf")));
    EXPECT_FALSE(fs::exists(dir.file("small.tf")));

    // Export: the big texture's level 0 as 32 bits is too large, the small one would fit.
    ASSERT_EQ(run({"convert", big, small}).code, 0);
    fs::create_directory(dir.file("back"));
    r = runWithSmallFileLimit(dir, "export -o " + dir.file("back") + " " + dir.file("big.tf") +
                                       " " + dir.file("small.tf"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Disk full while accessing " + dir.file("back/big.tga") + ".\n");
    EXPECT_FALSE(fs::exists(dir.file("back/big.tga")));
    EXPECT_FALSE(fs::exists(dir.file("back/small.tga")));
}

}  // namespace
}  // namespace slipway
