#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "PixelPatterns.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "pixels/PictureFixtures.h"
#include "pixels/PixelImage.h"
#include "pixels/TfFile.h"
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
        {"thumbnail", "a.tf", "a.png"},
        {"thumbnail", "a.tf", "a.png", "0"},
        {"thumbnail", "a.tf", "a.png", "128px"},
        {"thumbnail", "a.tf", "a.png", "128", "b.tf"},
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

TEST(PixmillCommandLine, ProgramWithoutArgumentsPrintsUsage) {
    test::TempDir dir;
    const std::string err = dir.file("err.txt");
    const int status = std::system((std::string(PIXMILL_PROGRAM) + " 2>" + err).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_THAT(test::readText(err), HasSubstr("usage: pixmill"));
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

// A PNG file's pixels as blue, green, red, alpha; no pixels when it cannot be read.
struct PngPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool hasAlpha = false;
    std::vector<Bgra> pixels;
};

PngPicture readPng(const std::string& path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return {};
    PngPicture picture{image.width, image.height, (image.format & PNG_FORMAT_FLAG_ALPHA) != 0,
                       std::vector<Bgra>(std::size_t{image.width} * image.height)};
    image.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
        return {};
    return picture;
}

// The thumbnail is the largest level that fits SIZE, from the 16-bit chain when there is one,
// pixel for pixel as the level was written, with an alpha channel only for textures with alpha.
TEST(PixmillCommandLine, ThumbnailWritesTheLevelThatFitsAsPng) {
    test::TempDir dir;
    struct Case {
        const char* name;
        std::uint32_t format16;  // 0: no 16-bit chain
        bool key;                // the 8-bit chain's colour key
        const char* size;
        std::uint32_t level;
        bool alpha;
    };
    const Case cases[] = {
        {"alpha.tf", 15 | formatAlpha, true, "20", 2, true},
        {"opaque.tf", 16, false, "64", 0, false},
        {"palette.tf", 0, false, "32", 1, false},
        {"alpha4.tf", 12 | formatAlpha, true, "9", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<PixelImage, 4> levels16, levels8;
        for (std::uint32_t i = 0; i < 4; ++i) {
            if (c.format16 != 0)
                levels16[i] = test::randomPicture(64 >> i, 32 >> i, c.format16, 5 + i);
            levels8[i] = test::randomPicture(64 >> i, 32 >> i, 8 | (c.key ? formatAlpha : 0), 9 + i,
                                             test::randomPalette(3));
        }
        const std::uint32_t count16 = c.format16 != 0 ? 4 : 0;
        const std::string tf = dir.file(c.name);
        test::writeBytes(tf, encodeTf(levels16.data(), count16, levels8.data(), 4));
        const std::string png = tf + ".png";

        const Outcome r = run({"thumbnail", tf, png, c.size});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const PngPicture picture = readPng(png);
        const PixelImage& level = count16 > 0 ? levels16[c.level] : levels8[c.level];
        ASSERT_EQ(picture.width, level.width());
        ASSERT_EQ(picture.height, level.height());
        EXPECT_EQ(picture.hasAlpha, c.alpha);
        for (std::uint32_t i = 0; i < picture.pixels.size(); ++i) {
            ASSERT_EQ(picture.pixels[i], level.getPixel(i % level.width(), i / level.width()))
                << "pixel " << i;
        }
    }
}

// A file that is not a texture, or an output that cannot be written, fails with a message and
// leaves an existing output as it was.
TEST(PixmillCommandLine, ThumbnailFailuresLeaveTheOutputAlone) {
    test::TempDir dir;
    const std::string good = dir.file("good.tf");
    const PixelImage level = test::randomPicture(8, 8, 16, 1);
    test::writeBytes(good, encodeTf(&level, 1, nullptr, 0));
    const std::string text = dir.file("main.tf");
    test::writeText(text, "resource \"x\" \"y\" {}\n");
    const std::string old = dir.file("old.png");
    test::writeText(old, "old picture");

    struct Case {
        std::string input, output, message;
    };
    const Case cases[] = {
        {text, old, "pixmill: cannot read " + text + " as a TF texture\n"},
        {dir.file("missing.tf"), old,
         "pixmill: cannot read " + dir.file("missing.tf") + " as a TF texture\n"},
        {dir.path(), old, "pixmill: cannot read " + dir.path() + " as a TF texture\n"},
        {good, dir.file("no/such/dir.png"),
         "pixmill: cannot write " + dir.file("no/such/dir.png") + "\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = run({"thumbnail", c.input, c.output, "128"});
        EXPECT_EQ(r.code, 1) << c.input;
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(test::readText(old), "old picture");
    }
    // No temporary file is left behind either.
    const auto entries =
        std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());
    EXPECT_EQ(entries, 3);
}

}  // namespace
}  // namespace slipway
