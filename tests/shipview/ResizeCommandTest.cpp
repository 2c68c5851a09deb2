// `shipview --resize SIZE FILE` end to end: the files on disk, what it prints, the exit codes.

#include <sstream>

#include <gtest/gtest.h>

#include "ShipviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "shipview/InfoCommand.h"
#include "shipview/ResizeCommand.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

struct ResizeRun {
    int code = -1;
    std::string out;
    std::string err;
};

ResizeRun resize(const std::string& base, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    ResizeRun run;
    run.code = runResize(args, base, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

TEST(ResizeCommandTest, RescalesAModelAndPrintsTheNewSize) {
    test::TempDir dir;
    test::writeBoxClf(dir.file("Box.clf"), 2, 2, "");  // size 2·√3
    const ResizeRun run = resize(dir.path(), {"6.9282", dir.file("Box.clf")});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "6.9282\n");
    // Read again by anyone, it is twice as large; Dialog.ini was not touched.
    const ResizeRun again = resize(dir.path(), {"6.9282", dir.file("Box.clf")});
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, "6.9282\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("Dialog.ini")));
}

TEST(ResizeCommandTest, RescalesAShipWithEveryPartItNames) {
    test::TempDir dir;
    test::writeBoxClf(dir.file("hull.clf"), 2, 1, "");
    test::writeBoxClf(dir.file("mast.clf"), 1, 1, "");
    test::DefBuilder().model("hull.clf").model("mast.clf", 0, 1, 0, 0).write(dir.file("Ship.def"));
    const auto hullBefore = test::readBytes(dir.file("hull.clf"));
    const ResizeRun run = resize(dir.path(), {"1.7320508", dir.file("Ship.def")});  // half of 2·√3
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "1.73205\n");
    EXPECT_NE(test::readBytes(dir.file("hull.clf")), hullBefore);
    std::ostringstream out, err;
    ASSERT_EQ(runInfo({dir.file("Ship.def")}, dir.path(), out, err), 0);
    // The mast's record moved with the hull: from y = 1 to y = 0.5.
    EXPECT_NE(out.str().find("\"offset\":[0,0.5,0]"), std::string::npos) << out.str();
}

TEST(ResizeCommandTest, RefusalsExitWithOneAndChangeNothing) {
    test::TempDir dir;
    test::writeBoxClf(dir.file("Box.clf"), 2, 1, "");
    const auto before = test::readBytes(dir.file("Box.clf"));
    struct Case {
        std::vector<std::string> args;
        int code;
        const char* err;
    };
    const Case cases[] = {
        {{"0", dir.file("Box.clf")}, 1, "shipview: Enter a number between 0.01 and 100.\n"},
        {{"101", dir.file("Box.clf")}, 1, "shipview: Enter a number between 0.01 and 100.\n"},
        {{"1", dir.file("gone.clf")}, 1, nullptr},
        {{"big", dir.file("Box.clf")}, 2, "shipview: --resize needs a number for SIZE, not big\n"},
        {{"1", dir.file("Box.txt")}, 2, nullptr},
        {{"1"}, 2, "shipview: --resize needs SIZE and FILE\n"},
    };
    for (const Case& c : cases) {
        const ResizeRun run = resize(dir.path(), c.args);
        EXPECT_EQ(run.code, c.code) << c.args[0];
        EXPECT_TRUE(run.out.empty()) << c.args[0];
        if (c.err != nullptr) {
            EXPECT_EQ(run.err, c.err);
        } else {
            EXPECT_FALSE(run.err.empty());
        }
        EXPECT_EQ(test::readBytes(dir.file("Box.clf")), before);
    }
}

}  // namespace
}  // namespace slipway
