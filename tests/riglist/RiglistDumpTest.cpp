#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "TempDir.h"
#include "TestFiles.h"
#include "riglist/DefDump.h"
#include "riglist/RiglistCommandLine.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

using test::DefBuilder;

DefBuilder smallShip() {
    DefBuilder def;
    def.model("hull.clf")
        .add({.cls = 202, .type = 6, .file = "sails.sai", .y = 16.0f, .z = 0.5f, .link = 0})
        .add({.cls = 203, .type = 13, .x = -3.5f, .ay = 1.5708f, .link = 0})
        .add({.cls = 210, .type = 5, .file = std::string("odd\tname"), .x = -0.0f});
    return def;
}

TEST(RiglistDump, PrintsTheListAsTheWindowShowsIt) {
    const DefDocument doc = *parseDefDocument(smallShip().bytes());
    EXPECT_EQ(dumpDefDocument(doc, ColumnSettings{}),
              "Num\tClass\tClass Name\tType\tType Name\tLink\n"
              "0\t200\tModel\t0\t\t-1\n"
              "1\t202\tSail\t6\tSL_G\t0\n"
              "2\t203\tCannon\t13\tRight_Cannon\t0\n"
              "3\t210\t\t5\t\t-1\n");

    ColumnSettings placement;
    placement.shown = {false, false, true, true, true, true, true, true, true, false};
    EXPECT_EQ(dumpDefDocument(doc, placement),
              "Num\tFile\tX\tY\tZ\tAx\tAy\tAz\n"
              "0\thull.clf\t0\t0\t0\t0\t0\t0\n"
              "1\tsails.sai\t0\t16\t0.5\t0\t0\t0\n"
              "2\t\t-3.5\t0\t0\t0\t1.5708\t0\n"
              "3\todd\\x09name\t-0\t0\t0\t0\t0\t0\n");
}

TEST(RiglistCommandLine, Arguments) {
    using Mode = RiglistOptions::Mode;
    const struct {
        std::vector<std::string> args;
        Mode mode;
        std::string file;
    } cases[] = {
        {{}, Mode::Window, ""},
        {{"ship.def"}, Mode::Window, "ship.def"},
        {{"--dump", "ship.def"}, Mode::Dump, "ship.def"},
        {{"ship.def", "--dump", "--columns", "x,LINK"}, Mode::Dump, "ship.def"},
        {{"--dump", "--columns=", "ship.def"}, Mode::Dump, "ship.def"},
        {{"--help"}, Mode::Help, ""},
        {{"--version"}, Mode::Version, ""},
        {{"--dump"}, Mode::Error, ""},
        {{"--dump", "--columns", "Num", "a.def"}, Mode::Error, ""},
        {{"--dump", "a.def", "--columns"}, Mode::Error, ""},
        {{"--columns", "X", "a.def"}, Mode::Error, ""},
        {{"a.def", "b.def"}, Mode::Error, ""},
        {{"--frobnicate"}, Mode::Error, ""},
    };
    for (const auto& c : cases) {
        const RiglistOptions options = parseRiglistArgs(c.args);
        EXPECT_EQ(options.mode, c.mode) << testing::PrintToString(c.args);
        if (c.mode != Mode::Error) {
            EXPECT_EQ(options.file, c.file);
        }
    }
    EXPECT_EQ(parseRiglistArgs({}).columns, ColumnSettings{});
    const auto chosen = parseRiglistArgs({"--dump", "--columns", "x,LINK", "a.def"}).columns;
    ColumnSettings expected;
    expected.shown = {false, false, false, true, false, false, false, false, false, true};
    EXPECT_EQ(chosen, expected);
}

struct ProgramRun {
    int code;
    std::string out;
    std::string err;
};

// Runs the program without a display unless `environment` gives one.
ProgramRun runRiglist(const std::string& args, const test::TempDir& dir,
                      const std::string& environment = "QT_QPA_PLATFORM=xcb") {
    const std::string errFile = dir.file("stderr.txt");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY " + environment + " " +
                                std::string(RIGLIST_PATH) + " " + args + " 2>" + errFile;
    ProgramRun run{};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "", ""};
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::readText(errFile);
    return run;
}

TEST(RiglistProgram, DumpsWithoutADisplay) {
    test::TempDir dir;
    smallShip().write(dir.file("ship.def"));
    DefBuilder().model("a.clf").announce(201).write(dir.file("big.def"));

    const ProgramRun ok = runRiglist("--dump --columns Class,File " + dir.file("ship.def"), dir);
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.out,
              "Num\tClass\tClass Name\tFile\n0\t200\tModel\thull.clf\n1\t202\tSail\tsails.sai\n"
              "2\t203\tCannon\t\n3\t210\t\todd\\x09name\n");
    EXPECT_EQ(ok.err, "");

    const ProgramRun badColumns = runRiglist("--dump --columns Mast " + dir.file("ship.def"), dir);
    EXPECT_EQ(badColumns.code, 2);
    EXPECT_EQ(badColumns.err.rfind("riglist: unknown column 'Mast'", 0), 0u);
    EXPECT_NE(badColumns.err.find("Try 'riglist --help'."), std::string::npos);

    const ProgramRun version = runRiglist("--version", dir);
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("riglist ", 0), 0u);

    const ProgramRun help = runRiglist("--help", dir);
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: riglist [FILE]\n", 0), 0u);
    for (const char* part : {"\n\nOptions:\n", "\n\nExamples:\n", "\n\nExit codes:\n"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
}

// A file refused by the editor says why; one holding fewer records than it announces is
// printed, and the shortfall is said on stderr.
TEST(RiglistProgram, DumpSaysWhatIsWrongWithTheFile) {
    test::TempDir dir;
    DefBuilder().model("a.clf").announce(201).write(dir.file("big.def"));
    test::writeText(dir.file("tiny.def"), "ab");
    DefBuilder().model("hull.clf").model("mast.cff").announce(27).write(dir.file("short.def"));
    const struct {
        std::string file;
        int code;
        std::string out, err;
    } cases[] = {
        {"big.def", 1, "",
         "riglist: cannot open BIG: announces 201 records; the editor opens at most 200\n"},
        {"tiny.def", 1, "", "riglist: cannot open BIG: not a DEF file (2 bytes)\n"},
        {"missing.def", 1, "", "riglist: cannot open BIG: No such file or directory\n"},
        {"short.def", 0,
         "Num\tClass\tClass Name\tType\tType "
         "Name\tLink\n0\t200\tModel\t0\t\t-1\n1\t200\tModel\t0\t\t-1\n",
         "riglist: BIG announces 27 records, holds 2\n"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.file(c.file);
        const ProgramRun run = runRiglist("--dump " + path, dir);
        EXPECT_EQ(run.code, c.code) << c.file;
        EXPECT_EQ(run.out, c.out) << c.file;
        std::string err = c.err;
        err.replace(err.find("BIG"), 3, path);
        EXPECT_EQ(run.err, err);
    }
}

// The window needs a display: without one the program says so instead of aborting, also
// when DISPLAY names no running server.
TEST(RiglistProgram, WithoutADisplayTheWindowSaysSo) {
    test::TempDir dir;
    const std::string message =
        "riglist: cannot open a display (set DISPLAY, or run under xvfb-run)\n";
    for (const char* environment : {"QT_QPA_PLATFORM=", "QT_QPA_PLATFORM=xcb"}) {
        const ProgramRun run = runRiglist("", dir, environment);
        EXPECT_EQ(run.code, 1) << environment;
        EXPECT_EQ(run.err, message) << environment;
    }
    const ProgramRun unreachable = runRiglist("", dir, "QT_QPA_PLATFORM=xcb DISPLAY=:6123");
    EXPECT_EQ(unreachable.code, 1);
    EXPECT_NE(unreachable.err.find(message), std::string::npos) << unreachable.err;
}

}  // namespace
}  // namespace slipway
