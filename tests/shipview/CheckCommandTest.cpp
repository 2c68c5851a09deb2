// `shipview --check`: one line per problem, the summary, the exit code, folders and recursion.

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "ShipviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "shipview/CheckCommand.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

struct CheckRun {
    int code = -1;
    std::string out;
    std::string err;
};

CheckRun check(const std::string& base, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CheckRun run;
    run.code = runCheck(args, base, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

class CheckCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_.file("fleet/old"));
        test::writeBoxClf(dir_.file("fleet/hull.clf"), 2, 1, "");
        test::DefBuilder().model("hull.clf").write(dir_.file("fleet/Good.def"));
        test::DefBuilder().model("hull.clf").model("lost.clf").write(dir_.file("fleet/Bad.def"));
        test::writeBoxClf(dir_.file("fleet/old/painted.clf"), 1, 1, "gone.tga");
        test::writeText(dir_.file("fleet/readme.txt"), "not a model");
    }
    test::TempDir dir_;
};

TEST_F(CheckCommandTest, ListsEachProblemWithItsFileAndCountsTheFiles) {
    const CheckRun run = check(dir_.path(), {dir_.file("fleet")});
    EXPECT_EQ(run.code, 3);
    const std::string bad = dir_.file("fleet/Bad.def");
    EXPECT_EQ(run.out, bad + ": Can't Find Model: lost.clf\n3 files, 1 with problems\n")
        << run.out;
    EXPECT_TRUE(run.err.empty());
}

TEST_F(CheckCommandTest, RecursionReachesSubfoldersAndCleanFilesExitWithZero) {
    CheckRun run = check(dir_.path(), {"--recursive", dir_.file("fleet")});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.out.find(dir_.file("fleet/old/painted.clf") +
                           ": Can't Find Texture: gone.tga\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("4 files, 2 with problems\n"), std::string::npos) << run.out;

    run = check(dir_.path(), {dir_.file("fleet/Good.def"), dir_.file("fleet/hull.clf")});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "2 files, 0 with problems\n");
}

TEST_F(CheckCommandTest, DamagedFilesAndWrongPathsAreProblemsToo) {
    test::writeBytes(dir_.file("noise.def"), std::vector<std::uint8_t>(50, 0xEE));
    test::writeBytes(dir_.file("empty.clf"), {});
    const CheckRun run = check(dir_.path(), {dir_.file("noise.def"), dir_.file("empty.clf"),
                                             dir_.file("nowhere"), dir_.file("fleet/readme.txt")});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.out.find(dir_.file("noise.def") + ": not a DEF file (50 bytes)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find(dir_.file("empty.clf") + ": Damaged model file "), std::string::npos);
    EXPECT_NE(run.out.find(dir_.file("nowhere") + ": no such file or folder\n"),
              std::string::npos);
    EXPECT_NE(run.out.find(dir_.file("fleet/readme.txt") + ": not a .clf, .cff or .def file\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("4 files, 4 with problems\n"), std::string::npos) << run.out;
}

TEST_F(CheckCommandTest, BadUsageExitsWithTwo) {
    EXPECT_EQ(check(dir_.path(), {}).code, 2);
    EXPECT_EQ(check(dir_.path(), {"--deep", dir_.path()}).code, 2);
}

}  // namespace
}  // namespace slipway
