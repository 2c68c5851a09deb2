// Meshview's headless commands end to end on files: --info's report and --save with edits.

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "MeshviewFixtures.h"
#include "ModelFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "meshview/InfoCommand.h"
#include "meshview/SaveCommand.h"

namespace slipway {
namespace {

class MeshviewCommandsTest : public ::testing::Test {
  protected:
    int info(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return meshview::runInfo(args, dir_.path(), out_, err_);
    }
    int save(const std::vector<std::string>& args) {
        out_.str("");
        err_.str("");
        return meshview::runSave(args, dir_.path(), out_, err_);
    }
    ClfModel savedModel(const std::string& name) {
        const auto parsed = parseClf(test::readBytes(dir_.file(name)));
        EXPECT_TRUE(parsed.has_value());
        return parsed.value_or(ClfModel{});
    }
    std::size_t filesInDir() {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(dir_.path()), {}));
    }

    test::TempDir dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(MeshviewCommandsTest, InfoReportsNamesKeysAndPaths) {
    test::writeThreeSquares(dir_.file("Squares.clf"), 1.0f, 2);
    EXPECT_EQ(info({dir_.file("Squares.clf")}), 0) << err_.str();
    const std::string json = out_.str();
    EXPECT_NE(json.find("\"path\":\"" + dir_.file("Squares.clf") + "\",\"keyCount\":2,"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("{\"name\":\"b\",\"vertices\":4,\"triangles\":2,\"texture\":0,"
                        "\"doubleSided\":1,\"keyRecords\":2}"),
              std::string::npos)
        << json;
    EXPECT_EQ(json.find("\"positions\""), std::string::npos);
    EXPECT_EQ(info({"--geometry", dir_.file("Squares.clf")}), 0);
    EXPECT_NE(out_.str().find("\"positions\""), std::string::npos);
    // Dialog.ini's recent list is not touched by a look at a file.
    EXPECT_FALSE(std::filesystem::exists(dir_.file("Dialog.ini")) &&
                 test::readText(dir_.file("Dialog.ini")).find("RECENT") != std::string::npos);
}

TEST_F(MeshviewCommandsTest, InfoExitCodes) {
    EXPECT_EQ(info({dir_.file("gone.clf")}), 1);
    EXPECT_NE(out_.str().find("Can't open Model File"), std::string::npos);
    EXPECT_EQ(info({}), 2);
    EXPECT_EQ(info({"--cancel", "x.clf"}), 2);
    EXPECT_EQ(info({"a.clf", "b.clf"}), 2);
    EXPECT_EQ(info({"ship.def"}), 2);
    EXPECT_EQ(err_.str(), "meshview: ship.def is not a .clf or .cff file\n");
}

TEST_F(MeshviewCommandsTest, SaveAppliesTheEditsInOrderAndPrintsThePath) {
    const std::string path = dir_.file("Squares.clf");
    test::writeThreeSquares(path, 1.0f, 1);
    EXPECT_EQ(save({path, "--rename", "1", "hull", "--double-sided", "2", "--reverse", "0", "--kf",
                    "2", "--height", "3", "--rename", "1", "keel"}),
              0)
        << err_.str();
    EXPECT_EQ(out_.str(), path + "\n");
    const ClfModel saved = savedModel("Squares.clf");
    EXPECT_EQ(saved.version, kClfEditedVersion);
    ASSERT_EQ(saved.levels.size(), 1u);
    const auto& objects = saved.levels[0];
    EXPECT_EQ(objects[1].name, "keel");
    EXPECT_FALSE(objects[2].doubleSided);
    EXPECT_TRUE(objects[0].doubleSided);
    const ClfTriangle& first = objects[0].triangles[0];
    const ClfTriangle original = test::threeSquares().levels[0][0].triangles[0];
    EXPECT_EQ(first.b, original.c);
    EXPECT_EQ(first.c, original.b);
    // ×2, then to the height 3 (from 2): ×3 in all.
    EXPECT_FLOAT_EQ(objects[2].vertices[1].x, 15.0f);
    EXPECT_FLOAT_EQ(objects[2].vertices[2].y, 3.0f);
}

TEST_F(MeshviewCommandsTest, SaveWritesACffModelAsClfBesideIt) {
    const std::string cff = dir_.file("fan.cff");
    test::writeBytes(cff, writeCff(test::cffModel({test::cffFan(5, "fan0")})));
    EXPECT_EQ(save({cff}), 0) << err_.str();
    EXPECT_EQ(out_.str(), dir_.file("fan.clf") + "\n");
    EXPECT_EQ(test::readBytes(cff), writeCff(test::cffModel({test::cffFan(5, "fan0")})));
    EXPECT_EQ(savedModel("fan.clf").levels[0][0].name, "fan0");
}

TEST_F(MeshviewCommandsTest, BadEditsWriteNothing) {
    const std::string path = dir_.file("Squares.clf");
    test::writeThreeSquares(path);
    const std::vector<std::uint8_t> before = test::readBytes(path);
    std::vector<std::string> tenTimes9000 = {path};
    for (int i = 0; i < 10; ++i)
        tenTimes9000.insert(tenTimes9000.end(), {"--kf", "9000"});
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {{path, "--reverse", "3"}, 2, "meshview: --reverse 3: the model has 3 meshes (0 to 2)\n"},
        {{path, "--kf", "2", "--rename", "7", "x"},
         2,
         "meshview: --rename 7: the model has 3 meshes (0 to 2)\n"},
        {{path, "--kf", "0"},
         2,
         "meshview: --kf 0: Enter a number between 0.000000001 and 9000.\n"},
        {{path, "--height", "x"}, 2, "meshview: --height x: Enter a number.\n"},
        {{path, "--reverse", "-1"},
         2,
         "meshview: --reverse needs a mesh index (0, 1, ...), not -1\n"},
        {{path, "--rename", "0"}, 2, "meshview: --rename needs MESH and NAME\n"},
        {{path, "--rename", "0", ""}, 2, "meshview: --rename needs a name that is not empty\n"},
        {{path, "--flip", "0"}, 2, "meshview: unknown edit --flip\n"},
        {{"--kf", "2"}, 2, "meshview: --save needs a file\n"},
        {{dir_.file("Ship.def")},
         2,
         "meshview: " + dir_.file("Ship.def") + " is not a .clf or .cff file\n"},
        // Scaling by 9000 ten times leaves the float range: refused, and nothing is saved.
        {tenTimes9000, 1,
         "meshview: --kf cannot be applied to " + path +
             ": the model would leave the range of numbers; nothing was saved\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(save(c.args), c.code) << c.message;
        EXPECT_EQ(err_.str(), c.message);
        EXPECT_TRUE(out_.str().empty());
        EXPECT_EQ(test::readBytes(path), before) << c.message;
    }
    EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(MeshviewCommandsTest, SaveOfWhatCannotBeReadOrWritten) {
    EXPECT_EQ(save({dir_.file("gone.clf")}), 1);
    EXPECT_EQ(err_.str(), "message: Can't open Model File\n" + dir_.file("gone.clf") +
                              "\nmeshview: nothing was read from " + dir_.file("gone.clf") + "\n");

    // A flat model has no height to scale to.
    ClfModel flat = test::threeSquares();
    for (ClfObject& o : flat.levels[0]) {
        for (ClfVertex& v : o.vertices)
            v.y = 0;
    }
    test::writeBytes(dir_.file("Flat.clf"), writeClf(flat));
    EXPECT_EQ(save({dir_.file("Flat.clf"), "--height", "2"}), 1);
    EXPECT_NE(err_.str().find("the model has no height to scale from"), std::string::npos);
    EXPECT_EQ(test::readBytes(dir_.file("Flat.clf")), writeClf(flat));

    // Where a directory stands in the saved file's place nothing can be written: told, and the
    // exit code says so.
    test::writeBytes(dir_.file("fan.cff"), writeCff(test::cffModel({test::cffFan(5)})));
    std::filesystem::create_directory(dir_.file("fan.clf"));
    EXPECT_EQ(save({dir_.file("fan.cff")}), 1);
    EXPECT_EQ(err_.str(), "message: Cannot save the model file\n" + dir_.file("fan.clf") + "\n");
    EXPECT_TRUE(out_.str().empty());
}

}  // namespace
}  // namespace slipway
