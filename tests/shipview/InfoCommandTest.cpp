// `shipview --info`: the JSON report of a loaded file, its messages and exit codes.

#include <map>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "ShipviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "make-demo-ship/DemoShip.h"
#include "shipview/InfoCommand.h"
#include "engine/InfoReport.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

struct InfoRun {
    int code = -1;
    QJsonObject json;
    std::string err;
};

InfoRun info(const std::string& base, std::vector<std::string> args) {
    std::ostringstream out, err;
    InfoRun run;
    run.code = runInfo(args, base, out, err);
    run.err = err.str();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &error);
    if (!out.str().empty()) {
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.str();
    }
    run.json = doc.object();
    return run;
}

std::vector<std::string> messages(const QJsonObject& json) {
    std::vector<std::string> texts;
    for (const auto& m : json["messages"].toArray()) {
        texts.push_back(m.toString().toStdString());
    }
    return texts;
}

class InfoCommandTest : public ::testing::Test {
  protected:
    test::TempDir dir_;
};

TEST_F(InfoCommandTest, ReportsObjectsLevelsStatisticsTexturesAndCamera) {
    test::writeBoxClf(dir_.file("box.clf"), 2.0f, 3, "checker.tga");
    test::writeCheckerTga(dir_.file("checker.tga"));
    const InfoRun run = info(dir_.path(), {dir_.file("box.clf")});
    EXPECT_EQ(run.code, 0) << run.err;

    const QJsonArray objects = run.json["objects"].toArray();
    ASSERT_EQ(objects.size(), 1);
    const QJsonObject box = objects[0].toObject();
    EXPECT_EQ(box["slot"].toInt(), 0);
    EXPECT_EQ(box["kind"].toInt(), 200);
    EXPECT_EQ(box["parent"].toInt(), -1);
    EXPECT_EQ(box["visible"].toInt(), 1);
    EXPECT_EQ(box["world"].toArray().size(), 16);
    EXPECT_EQ(box["boundsSize"].toArray()[0].toDouble(), 2.0);
    const QJsonArray levels = box["levels"].toArray();
    ASSERT_EQ(levels.size(), 4);
    EXPECT_EQ(levels[0].toArray()[0].toObject()["triangles"].toInt(), 12);
    EXPECT_EQ(levels[2].toArray()[0].toObject()["triangles"].toInt(), 8);
    EXPECT_TRUE(levels[3].isNull());

    const QJsonObject stats = run.json["statistics"].toObject();
    EXPECT_EQ(stats["triangles"].toInt(), 12);
    EXPECT_NEAR(stats["size"].toDouble(), 3.4641, 1e-4);

    const QJsonArray textures = run.json["textures"].toArray();
    ASSERT_EQ(textures.size(), 1);
    EXPECT_EQ(textures[0].toObject()["name"].toString(), "checker");
    EXPECT_EQ(textures[0].toObject()["width"].toInt(), 2);
    EXPECT_TRUE(messages(run.json).empty());

    // Fitted: 2 units wide and high puts the camera 40 × 2 away.
    EXPECT_EQ(run.json["camera"].toArray()[14].toDouble(), 80.0);
}

TEST_F(InfoCommandTest, GeometryListsTheCurrentLevelOnly) {
    test::writeBoxClf(dir_.file("box.clf"), 2.0f, 2, "");
    const InfoRun run = info(dir_.path(), {"--geometry", dir_.file("box.clf")});
    const QJsonArray levels = run.json["objects"].toArray()[0].toObject()["levels"].toArray();
    const QJsonObject shown = levels[0].toArray()[0].toObject();
    EXPECT_EQ(shown["positions"].toArray().size(), 3 * shown["vertices"].toInt());
    EXPECT_EQ(shown["normals"].toArray().size(), 3 * shown["vertices"].toInt());
    EXPECT_EQ(shown["uvs"].toArray().size(), 2 * shown["vertices"].toInt());
    EXPECT_EQ(shown["indices"].toArray().size(), 3 * shown["triangles"].toInt());
    EXPECT_FALSE(levels[1].toArray()[0].toObject().contains("positions"));
}

TEST_F(InfoCommandTest, MessagesAreCollectedAndCancelAnswersThem) {
    test::writeBoxClf(dir_.file("box.clf"), 2.0f, 1, "missing.tga");
    InfoRun run = info(dir_.path(), {dir_.file("box.clf")});
    EXPECT_EQ(run.code, 3);  // loaded, with a message
    EXPECT_EQ(messages(run.json), (std::vector<std::string>{"Can't Find Texture: missing.tga"}));
    EXPECT_EQ(run.json["objects"].toArray().size(), 1);
    run = info(dir_.path(), {"--cancel", dir_.file("box.clf")});
    EXPECT_EQ(messages(run.json).size(), 1u);
}

TEST_F(InfoCommandTest, DamagedAndMissingFiles) {
    test::writeBoxClf(dir_.file("box.clf"), 2.0f, 1, "");
    auto bytes = test::readBytes(dir_.file("box.clf"));
    bytes.resize(bytes.size() - 10);
    test::writeBytes(dir_.file("cut.clf"), bytes);

    InfoRun run = info(dir_.path(), {dir_.file("cut.clf")});
    EXPECT_EQ(run.code, 1);  // nothing loaded
    EXPECT_EQ(messages(run.json),
              (std::vector<std::string>{"Damaged model file\n" + dir_.file("cut.clf")}));
    EXPECT_TRUE(run.json["objects"].toArray().isEmpty());

    run = info(dir_.path(), {dir_.file("none.cff")});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(messages(run.json),
              (std::vector<std::string>{"Can't open Model File\n" + dir_.file("none.cff")}));
}

TEST_F(InfoCommandTest, ShipPartsCarryTheirParentsAndChainedPositions) {
    test::writeBoxClf(dir_.file("hull.clf"), 2.0f, 2, "");
    test::writeBoxClf(dir_.file("mast.clf"), 1.0f, 1, "");
    test::DefBuilder()
        .model("hull.clf", 0, 0.5f, 0)
        .model("mast.clf", 0, 1, 0, 0)
        .model("mast.clf", 0, 3, 0, 1)
        .write(dir_.file("ship.def"));
    InfoRun run = info(dir_.path(), {dir_.file("ship.def")});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(messages(run.json).empty());
    const QJsonArray objects = run.json["objects"].toArray();
    ASSERT_EQ(objects.size(), 3);
    EXPECT_EQ(objects[2].toObject()["parent"].toInt(), 1);
    EXPECT_EQ(objects[2].toObject()["offset"].toArray()[1].toDouble(), 3.0);
    EXPECT_EQ(objects[2].toObject()["world"].toArray()[13].toDouble(), 4.5);

    run = info(dir_.path(), {dir_.file("none.def")});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(messages(run.json),
              (std::vector<std::string>{"Can,t open DEF File\n" + dir_.file("none.def")}));
}

TEST_F(InfoCommandTest, DefFilesReadSilentlyAsEmptyOrShortShipsAreSaidToBe) {
    test::writeBoxClf(dir_.file("hull.clf"), 2.0f, 1, "");
    test::writeBytes(dir_.file("empty.def"), {});
    test::writeBytes(dir_.file("noise.def"), std::vector<std::uint8_t>(700, 0xA7));
    test::DefBuilder().model("hull.clf").announce(27).write(dir_.file("short.def"));
    test::DefBuilder().model("hull.clf").write(dir_.file("sound.def"));
    struct Case {
        const char* file;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"empty.def", 1, "not a DEF file (0 bytes)"},
        {"noise.def", 1, "not a DEF file (700 bytes)"},
        {"short.def", 3, "announces 27 records, holds 1"},
        {"sound.def", 0, nullptr},
    };
    for (const Case& c : cases) {
        const InfoRun run = info(dir_.path(), {dir_.file(c.file)});
        EXPECT_EQ(run.code, c.code) << c.file;
        const std::vector<std::string> expected =
            c.message ? std::vector<std::string>{dir_.file(c.file) + ": " + c.message}
                      : std::vector<std::string>{};
        EXPECT_EQ(messages(run.json), expected) << c.file;
    }
}

TEST_F(InfoCommandTest, ShipOpenedFromAnotherFolderFindsTheTexturesBesideIt) {
    ASSERT_TRUE(demo::writeDemoShip(dir_.file("demo")));
    test::TempDir elsewhere;
    const InfoRun run = info(elsewhere.path(), {dir_.file("demo/") + demo::kDemoDefFile});
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(messages(run.json).empty()) << ::testing::PrintToString(messages(run.json));
    // A model opened on its own finds the textures beside it too.
    const InfoRun hull = info(elsewhere.path(), {dir_.file("demo/hull.clf")});
    EXPECT_EQ(hull.code, 0);
    EXPECT_TRUE(messages(hull.json).empty()) << ::testing::PrintToString(messages(hull.json));
}

TEST_F(InfoCommandTest, DemoShipAssemblesSilentlyWithEveryKindOfPartAndWavesItsFlags) {
    ASSERT_TRUE(demo::writeDemoShip(dir_.path()));
    const std::string def = dir_.file(demo::kDemoDefFile);
    const InfoRun still = info(dir_.path(), {"--geometry", def});
    EXPECT_EQ(still.code, 0);
    EXPECT_TRUE(messages(still.json).empty()) << ::testing::PrintToString(messages(still.json));
    std::map<int, int> kinds;
    int firstFlag = -1;
    const QJsonArray objects = still.json["objects"].toArray();
    for (int i = 0; i < objects.size(); ++i) {
        const QJsonObject o = objects[i].toObject();
        ++kinds[o["kind"].toInt()];
        EXPECT_LT(o["parent"].toInt(), o["slot"].toInt());  // parents come first
        if (o["kind"].toInt() == 204 && firstFlag < 0) {
            firstFlag = i;
        }
    }
    for (int kind : {200, 202, 203, 204, 206}) {
        EXPECT_GT(kinds[kind], 0) << kind;
    }
    EXPECT_EQ(still.json["textures"].toArray().size(), 10);

    // One animation step moves the flag's vertices; nothing else changes.
    const InfoRun waved = info(dir_.path(), {"--geometry", "--animate", "300", def});
    ASSERT_GE(firstFlag, 0);
    auto positions = [&](const InfoRun& run) {
        return run.json["objects"]
            .toArray()[firstFlag]
            .toObject()["levels"]
            .toArray()[0]
            .toArray()[0]
            .toObject()["positions"]
            .toArray();
    };
    EXPECT_NE(positions(still), positions(waved));
    EXPECT_EQ(still.json["statistics"], waved.json["statistics"]);
}

TEST_F(InfoCommandTest, BadUsageExitsWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"--frobnicate", "a.clf"},
        {"--animate"},
        {"--animate", "-5", "a.clf"},
        {"--animate", "ten", "a.clf"},
        {"a.clf", "b.clf"},
        {"model.obj"},
    };
    for (const auto& args : cases) {
        const InfoRun run = info(dir_.path(), args);
        EXPECT_EQ(run.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(run.err.empty());
    }
}

TEST(InfoReportTest, NumbersReadBackToTheSameFloat) {
    for (float value : {0.1f, 1.0f / 3.0f, -2.5e-8f, 3.4028235e38f, 0.0f, 16777217.0f}) {
        EXPECT_EQ(std::stof(jsonNumber(value)), value) << jsonNumber(value);
    }
    EXPECT_EQ(jsonNumber(std::numeric_limits<float>::infinity()), "null");
    EXPECT_EQ(jsonString("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\nd\\u0001\"");
}

}  // namespace
}  // namespace slipway
