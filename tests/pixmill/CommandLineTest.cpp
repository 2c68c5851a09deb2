#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include <sys/wait.h>
#include <unistd.h>

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
#include "pixmill/ProgressLine.h"
#include "support/TgaBuilder.h"

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
        EXPECT_THAT(r.err, HasSubstr("Usage: pixmill ")) << ::testing::PrintToString(args);
        EXPECT_THAT(r.err, HasSubstr("--help'.")) << ::testing::PrintToString(args);
        EXPECT_EQ(r.out, "") << ::testing::PrintToString(args);
    }
    // The message names the fault; the synopsis is the command's own.
    const Outcome r = run({"export", "--depth", "12", "a.tf"});
    EXPECT_EQ(r.err,
              "pixmill: bad value for --depth\n"
              "Usage: pixmill export [OPTIONS] FILE.tf...\n"
              "Try 'pixmill export --help'.\n");
}

// --help (or -h) anywhere among a command's options prints that command's help on stdout.
TEST(PixmillCommandLine, EveryCommandHasItsHelp) {
    const struct {
        std::vector<std::string> args;
        std::string firstLine;
    } cases[] = {
        {{"--help"}, "Usage: pixmill convert [OPTIONS] FILE.tga...\n       pixmill export"},
        {{"-h"}, "Usage: pixmill convert [OPTIONS] FILE.tga...\n       pixmill export"},
        {{"convert", "--help"}, "Usage: pixmill convert [OPTIONS] FILE.tga...\n\n"},
        {{"convert", "--no8", "a.tga", "-h"}, "Usage: pixmill convert [OPTIONS] FILE.tga...\n\n"},
        {{"export", "--help"}, "Usage: pixmill export [OPTIONS] FILE.tf...\n\n"},
        {{"info", "--help"}, "Usage: pixmill info FILE...\n\n"},
    };
    for (const auto& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.code, 0) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.out.rfind(c.firstLine, 0), 0u) << r.out;
        for (const char* part : {"\n\nOptions:\n", "\n\nExamples:\n", "\n\nExit codes:\n"})
            EXPECT_THAT(r.out, HasSubstr(part)) << ::testing::PrintToString(c.args);
        EXPECT_EQ(r.err, "");
    }
    // After "--" it is a file name.
    EXPECT_EQ(run({"info", "--", "--help"}).code, 1);
}

// Runs the program itself with `args` (shell words); stdout and stderr are kept.
Outcome runProgram(const test::TempDir& dir, const std::string& args,
                   const std::string& prefix = "") {
    const std::string out = dir.file("out.txt");
    const std::string err = dir.file("err.txt");
    const std::string command =
        prefix + std::string(PIXMILL_PROGRAM) + " " + args + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status)) << command;
    return {WEXITSTATUS(status), test::readText(out), test::readText(err)};
}

TEST(PixmillProgram, UsageHelpAndAFailureWithItsCause) {
    test::TempDir dir;
    // Without arguments Pixmill opens its window; a command without its files is a usage error.
    Outcome r = runProgram(dir, "convert");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, HasSubstr("Usage: pixmill convert"));

    r = runProgram(dir, "convert --help");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("Usage: pixmill convert", 0), 0u);

    // Not a terminal: no progress line, only the messages and the summary.
    test::writeText(dir.file("short.tga"), "0123456789");
    r = runProgram(dir, "convert -o " + dir.file("made/here") + " " + dir.file("short.tga"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "pixmill: Error: no open file " + dir.file("short.tga") +
                  ": not a TGA picture (10 bytes)\n0 converted, 0 skipped (exists), 1 failed\n");
    EXPECT_TRUE(fs::is_directory(dir.file("made/here")));
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
    // Sizes 16x8 (kept), 16x12, 24x16, 16x20 and 16x24: resized, said as warnings, and written.
    const std::string warning = "pixmill: warning: Texture ";
    const std::string expected =
        warning + files[1] + " have error size: resized from 16x12 to 16x16\n" + warning +
        files[2] + " have error size: resized from 24x16 to 32x16\n" +
        "pixmill: Error: no open file " + files[3] + ": No such file or directory\n" + warning +
        files[4] + " have error size: resized from 16x20 to 16x32\n" + warning + files[5] +
        " have error size: resized from 16x24 to 16x32\n" +
        "5 converted, 0 skipped (exists), 1 failed\n";
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
    EXPECT_EQ(r.err, "pixmill: File exists, skipped: " + dir.file("out/a.tf") +
                         "\n2 converted, 1 skipped (exists), 0 failed\n");
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
    EXPECT_EQ(r.err, "pixmill: File exists, skipped: " + tf +
                         "\n0 converted, 1 skipped (exists), 0 failed\n");
    EXPECT_EQ(test::readText(tf), "old");

    r = run({"convert", "--overwrite", "yes", tga});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "1 converted, 0 skipped (exists), 0 failed\n");
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
    EXPECT_EQ(r.err, "pixmill: File exists, skipped: " + back +
                         "\n0 converted, 1 skipped (exists), 0 failed\n");

    r = run({"info", tga, tf, back, dir.file("missing.tf")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, tga + "\tSize: 16x8; BPP: 32; Alpha channel\n" + tf +
                         "\tSize: 16x8; BPP: 16; Alpha channel; 16 bit mips: 2; 8 bit mips: 3\n" +
                         back + "\tSize: 8x4; BPP: 8\n");
    EXPECT_EQ(r.err, "pixmill: Error access file: " + dir.file("missing.tf") +
                         ": No such file or directory\n");
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

// Each failure keeps its text and says why after ": ": the system's error text or what is
// wrong with the file.
TEST(PixmillCommandLine, FailuresNameTheirCause) {
    test::TempDir dir;
    const std::string good = dir.file("good.tga");
    writeTga(good, 16, 8, 32 | formatAlpha);
    ASSERT_EQ(run({"convert", "--no16", "--mips8", "count:2", good}).code, 0);
    const std::string only8 = dir.file("good.tf");
    const auto texture = test::readBytes(only8);  // 16 + 1,024 + 128 + 32 bytes

    test::writeText(dir.file("short.tga"), "0123456789");
    test::TgaBuilder notTga;
    notTga.imageType = 77;
    notTga.width = notTga.height = 4;
    test::writeBytes(dir.file("odd.tga"), notTga.build());
    // 64x64 at 24 bits: 18 + 12,288 bytes, cut after 500.
    test::TgaBuilder big;
    big.width = big.height = 64;
    big.pixels.assign(64 * 64 * 3, 0x40);
    auto cut = big.build();
    cut.resize(500);
    test::writeBytes(dir.file("cut.tga"), cut);
    fs::create_directory(dir.file("folder.tga"));
    test::writeBytes(dir.file("cut.tf"), {texture.begin(), texture.begin() + 600});
    test::writeText(dir.file("tiny.tf"), "TF");
    fs::create_directories(dir.file("busy/good.tf"));  // a folder where the output would go

    const std::string prefix = "pixmill: ";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"convert", dir.file("missing.tga")},
         "Error: no open file " + dir.file("missing.tga") + ": No such file or directory"},
        {{"convert", dir.file("folder.tga")},
         "Error: no open file " + dir.file("folder.tga") + ": Is a directory"},
        {{"convert", dir.file("short.tga")},
         "Error: no open file " + dir.file("short.tga") + ": not a TGA picture (10 bytes)"},
        {{"convert", dir.file("odd.tga")},
         "Error: load data from file " + dir.file("odd.tga") + ": not a TGA picture"},
        {{"convert", dir.file("cut.tga")},
         "Error: load data from file " + dir.file("cut.tga") + ": truncated: 500 of 12,306 bytes"},
        {{"convert", "-o", dir.file("busy"), good},
         "Error save file " + dir.file("busy/good.tf") + ": Is a directory"},
        {{"export", "--chain", "16", only8},
         "Error open file: " + only8 + ": no 16-bit chain; use --chain 8"},
        {{"export", dir.file("tiny.tf")},
         "Error open file: " + dir.file("tiny.tf") + ": not a TF texture (2 bytes)"},
        {{"export", "--chain", "8", "--level", "1", dir.file("cut.tf")},
         "Error open file: " + dir.file("cut.tf") + ": truncated: 600 of 1,200 bytes"},
        {{"info", dir.file("cut.tga")},
         "Error loading file: " + dir.file("cut.tga") + ": truncated: 500 of 12,306 bytes"},
        {{"info", dir.file("picture.bmp")},
         "Error access file: " + dir.file("picture.bmp") + ": BMP pictures cannot be read"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.begin() + 1, {"--overwrite", "yes"});
        if (args[0] == "info")
            args.erase(args.begin() + 1, args.begin() + 3);
        const Outcome r = run(args);
        EXPECT_EQ(r.code, 1) << c.message;
        const std::string summary =
            args[0] == "info" ? "" : "0 converted, 0 skipped (exists), 1 failed\n";
        EXPECT_EQ(r.err, prefix + c.message + "\n" + summary);
    }

    // Permissions do not stop the superuser.
    if (::geteuid() != 0) {
        fs::create_directory(dir.file("locked"));
        fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
        const Outcome r = run({"convert", "-o", dir.file("locked"), good});
        EXPECT_EQ(r.err, prefix + "Error save file " + dir.file("locked/good.tf") +
                             ": Permission denied\n0 converted, 0 skipped (exists), 1 failed\n");
        fs::permissions(dir.file("locked"), fs::perms::owner_all);
    }
}

// -o makes the folder with its parents; a file in its way is a failure before any work.
TEST(PixmillCommandLine, OutputFolderIsMadeWhenMissing) {
    test::TempDir dir;
    const std::string tga = dir.file("a.tga");
    writeTga(tga, 8, 8, 24);
    Outcome r = run({"convert", "-o", dir.file("new/deeper"), tga});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(dir.file("new/deeper/a.tf")));
    r = run({"export", "-o", dir.file("back/again"), dir.file("new/deeper/a.tf")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(dir.file("back/again/a.tga")));

    test::writeText(dir.file("plain"), "x");
    r = run({"convert", "-o", dir.file("plain/sub"), tga});
    EXPECT_EQ(r.code, 1);
    EXPECT_THAT(r.err,
                HasSubstr("pixmill: cannot make the folder " + dir.file("plain/sub") + ": "));
    EXPECT_THAT(r.err, ::testing::Not(HasSubstr("converted")));
}

// A level beyond the chain is lowered to its last: the file is written, with a warning, and
// counts as converted.
TEST(PixmillCommandLine, ALoweredExportLevelIsAWarning) {
    test::TempDir dir;
    const std::string tga = dir.file("a.tga");
    writeTga(tga, 16, 8, 24);
    ASSERT_EQ(run({"convert", "--mips16", "count:2", tga}).code, 0);
    const Outcome r = run({"export", "--level", "5", "-o", dir.file("back"), dir.file("a.tf")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "pixmill: warning: " + dir.file("a.tf") +
                         ": level 5 lowered to 1 (the 16-bit chain has 2 levels)\n"
                         "1 converted, 0 skipped (exists), 0 failed\n");
    EXPECT_EQ(test::readBytes(dir.file("back/a.tga")).size(), 18u + 8 * 4 * 4);

    ASSERT_EQ(run({"convert", "--overwrite", "yes", "--mips16", "count:1", tga}).code, 0);
    EXPECT_THAT(run({"export", "--level", "2", "--overwrite", "yes", "-o", dir.file("back"),
                     dir.file("a.tf")})
                    .err,
                HasSubstr(": level 2 lowered to 0 (the 16-bit chain has 1 level)\n"));
}

// What a terminal shows for `text`: a carriage return goes back to the start of the line,
// later characters overwrite earlier ones; trailing blanks are dropped.
std::vector<std::string> screenLines(const std::string& text) {
    std::vector<std::string> lines(1);
    std::size_t column = 0;
    for (char c : text) {
        if (c == '\r') {
            column = 0;
        } else if (c == '\n') {
            lines.emplace_back();
            column = 0;
        } else {
            std::string& line = lines.back();
            if (line.size() <= column)
                line.resize(column + 1, ' ');
            line[column++] = c;
        }
    }
    for (std::string& line : lines)
        line.erase(line.find_last_not_of(' ') + 1);
    return lines;
}

// On a terminal the batch shows "[i/n] name: step" in place; it never runs into the width,
// and what stays on the screen is exactly what a redirected run writes.
TEST(PixmillCommandLine, ProgressLineOnATerminal) {
    test::TempDir dir;
    writeTga(dir.file("a.tga"), 8, 8, 24);
    writeTga(dir.file("wood-with-a-long-name.tga"), 16, 8, 32 | formatAlpha);
    const std::vector<std::string> args = {"convert",
                                           "--jobs",
                                           "1",
                                           dir.file("a.tga"),
                                           dir.file("missing.tga"),
                                           dir.file("wood-with-a-long-name.tga")};
    std::ostringstream out, err;
    ASSERT_EQ(pixmill::runCommand(args, out, err, {true, 40}), 1);
    const std::string shown = err.str();
    for (const char* step : {"\r[1/3] a.tga: Reading", "\r[1/3] a.tga: Creating 32 bit mip levels",
                             "\r[1/3] a.tga: Creating pallitte", "\r[2/3] missing.tga: Reading",
                             "\r[3/3] wood-with-a-long-name.tga: Creati\r"}) {
        EXPECT_THAT(shown, HasSubstr(step));
    }
    // Every piece written over the progress line fits in 39 columns.
    std::size_t start = 0;
    while (start < shown.size()) {
        const std::size_t end = std::min(shown.find_first_of("\r\n", start), shown.size());
        if (shown[start] == '[' || shown[start] == ' ') {
            EXPECT_LT(end - start, 40u) << shown.substr(start, end - start);
        }
        start = end + 1;
    }

    for (auto& file : {"a.tf", "wood-with-a-long-name.tf"})
        fs::remove(dir.file(file));
    const Outcome plain = run(args);
    std::vector<std::string> expected = screenLines(plain.err);
    EXPECT_EQ(screenLines(shown), expected);
    EXPECT_EQ(expected.size(), 3u);  // the message, the summary, and the empty end
}

TEST(PixmillProgressLine, CutsLongLinesAtAWholeCharacter) {
    const struct {
        std::string name;
        std::size_t width;
        std::string shown;
    } cases[] = {
        {"a.tga", 80, "\r[1/2] a.tga: Save"},
        {"a.tga", 12, "\r[1/2] a.tga"},
        {"\xC3\xA9t\xC3\xA9.tga", 11, "\r[1/2] \xC3\xA9t"},  // the second e-acute does not fit
        {"\xC3\xA9t\xC3\xA9.tga", 12, "\r[1/2] \xC3\xA9t\xC3\xA9"},
    };
    for (const auto& c : cases) {
        std::ostringstream out;
        pixmill::ProgressLine line(out, true, c.width);
        line.show(1, 2, c.name, "Save");
        EXPECT_EQ(out.str(), c.shown) << c.width;
    }
    // Off a terminal nothing but the printed lines appears.
    std::ostringstream out;
    pixmill::ProgressLine off(out, false, 80);
    off.show(1, 2, "a.tga", "Save");
    off.print("done\n");
    EXPECT_EQ(out.str(), "done\n");
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
    EXPECT_EQ(r.err,
              "pixmill: Disk full while accessing " + dir.file("big.tf") +
                  ".: File too large\n0 converted, 0 skipped (exists), 1 failed, 1 not started\n");
    EXPECT_FALSE(fs::exists(dir.file("big.tf")));
    EXPECT_FALSE(fs::exists(dir.file("small.tf")));

    // Export: the big texture's level 0 as 32 bits is too large, the small one would fit.
    ASSERT_EQ(run({"convert", big, small}).code, 0);
    fs::create_directory(dir.file("back"));
    r = runWithSmallFileLimit(dir, "export -o " + dir.file("back") + " " + dir.file("big.tf") +
                                       " " + dir.file("small.tf"));
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "pixmill: Disk full while accessing " + dir.file("back/big.tga") +
                  ".: File too large\n0 converted, 0 skipped (exists), 1 failed, 1 not started\n");
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
