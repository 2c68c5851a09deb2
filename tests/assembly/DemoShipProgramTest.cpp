// The make-demo-ship program: options are never taken for a folder name.

#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramRun.h"
#include "TempDir.h"

namespace slipway {
namespace {

namespace fs = std::filesystem;

TEST(DemoShipProgram, OptionsAreNeverFolders) {
    test::TempDir work;
    test::TempDir outputs;
    auto run = [&](const std::string& args) {
        return test::runProgram("cd " + work.path() + " && " + MAKE_DEMO_SHIP_PROGRAM + " " + args,
                                outputs);
    };
    const struct {
        std::string args;
        int code;
        std::string outStart, errStart;
    } cases[] = {
        {"--version", 0, "make-demo-ship ", ""},
        {"--help", 0, "Usage: make-demo-ship OUTDIR\n", ""},
        {"-h", 0, "Usage: make-demo-ship OUTDIR\n", ""},
        {"", 2, "", "make-demo-ship: no folder given\nUsage: make-demo-ship OUTDIR\n"},
        {"--frob", 2, "", "make-demo-ship: unknown option --frob\n"},
        {"a b", 2, "", "make-demo-ship: only one folder can be given\n"},
    };
    for (const auto& c : cases) {
        const test::ProgramRun r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args;
        EXPECT_EQ(r.out.rfind(c.outStart, 0), 0u) << r.out;
        EXPECT_EQ(r.err.rfind(c.errStart, 0), 0u) << r.err;
    }
    EXPECT_TRUE(fs::is_empty(work.path()));
    const test::ProgramRun help = run("--help");
    for (const char* part : {"\n\nOptions:\n", "\n\nExamples:\n", "\n\nExit codes:\n"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;

    EXPECT_EQ(run("made/deeper").code, 0);
    EXPECT_TRUE(fs::is_regular_file(work.file("made/deeper/Demo.def")));
    EXPECT_EQ(run("-- -odd").code, 0);
    EXPECT_TRUE(fs::is_regular_file(work.file("-odd/Demo.def")));
}

}  // namespace
}  // namespace slipway
