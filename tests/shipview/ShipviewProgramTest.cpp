// The shipview program itself: its help, its command-line errors, and what it does without a
// display.

#include <gtest/gtest.h>

#include "ProgramRun.h"
#include "TempDir.h"

namespace slipway {
namespace {

// The program with no display in its environment, and `environment` added.
test::ProgramRun shipview(const std::string& args, const test::TempDir& dir,
                          const std::string& environment = "") {
    return test::runProgram("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment +
                                " " + SHIPVIEW_PROGRAM + " " + args,
                            dir);
}

TEST(ShipviewProgram, HelpAndVersionNeedNoDisplay) {
    test::TempDir dir;
    for (const char* option : {"--help", "-h"}) {
        const test::ProgramRun help = shipview(option, dir);
        EXPECT_EQ(help.code, 0);
        EXPECT_EQ(help.out.rfind("Usage: shipview [FILE]\n", 0), 0u) << help.out;
        for (const char* part :
             {"\n\nOptions:\n", "\n\nExamples:\n", "\n\nExit codes:\n", "--check", "--resize"}) {
            EXPECT_NE(help.out.find(part), std::string::npos) << part;
        }
        EXPECT_EQ(help.err, "");
    }
    const test::ProgramRun version = shipview("--version", dir);
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out.rfind("shipview ", 0), 0u);
}

TEST(ShipviewProgram, WrongCommandLinesSayWhatIsWrong) {
    test::TempDir dir;
    const struct {
        std::string args;
        std::string firstLine;
    } cases[] = {
        {"--frobnicate", "shipview: unknown option --frobnicate\n"},
        {"a.def b.def", "shipview: only one file can be given\n"},
        {"ship.txt", "shipview: ship.txt is not a .clf, .cff or .def file\n"},
    };
    for (const auto& c : cases) {
        const test::ProgramRun run = shipview(c.args, dir);
        EXPECT_EQ(run.code, 2) << c.args;
        EXPECT_EQ(run.err.rfind(c.firstLine, 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
    const test::ProgramRun run = shipview("--frobnicate", dir);
    EXPECT_NE(run.err.find("\nUsage: shipview [FILE]\n"), std::string::npos);
    EXPECT_NE(run.err.find("\nTry 'shipview --help'.\n"), std::string::npos);
}

// Without a display the window and the screenshot say so and end with 1 instead of the
// toolkit's abort; a DISPLAY that names no running server is caught as well.
TEST(ShipviewProgram, WithoutADisplayItSaysSo) {
    test::TempDir dir;
    const std::string message =
        "shipview: cannot open a display (set DISPLAY, or run under xvfb-run)\n";
    for (const char* args : {"", "ship.def", "--screenshot ship.def out.png"}) {
        const test::ProgramRun run = shipview(args, dir);
        EXPECT_EQ(run.code, 1) << args;
        EXPECT_EQ(run.err, message) << args;
    }
    const test::ProgramRun unreachable = shipview("", dir, "QT_QPA_PLATFORM=xcb DISPLAY=:6123");
    EXPECT_EQ(unreachable.code, 1);
    EXPECT_NE(unreachable.err.find(message), std::string::npos) << unreachable.err;
}

}  // namespace
}  // namespace slipway
