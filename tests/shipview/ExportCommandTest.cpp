// `shipview --export FILE OUT.glb [--level N] [--markers]` end to end: what it writes (read
// back), what --info says of the same scene, the level and marker options, refusals.

#include <filesystem>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include "GlbReadBack.h"
#include "ShipviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "make-demo-ship/DemoShip.h"
#include "export/ExportCommand.h"
#include "shipview/InfoCommand.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

struct ExportRun {
    int code = -1;
    std::string out;
    std::string err;
};

ExportRun exportTo(const std::string& base, const std::vector<std::string>& args) {
    std::ostringstream out, err;
    ExportRun run;
    run.code = runExport(args, base, {"shipview", kShipviewRules, "Slipway Shipview"}, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

struct Counts {
    int objects = 0;
    int meshes = 0;
    int triangles = 0;
};

// What `shipview --info` reports of the objects that an export with or without markers
// includes: the objects, their parts with a whole triangle at the level shown, the triangles.
Counts countsFromInfo(const std::string& base, const std::string& file, bool markers) {
    std::ostringstream out, err;
    EXPECT_EQ(runInfo({file}, base, out, err), 0);
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(out.str())).object();
    Counts counts;
    for (const auto& value : json["objects"].toArray()) {
        const QJsonObject object = value.toObject();
        const int kind = object["kind"].toInt();
        if ((kind == 203 || kind == 206) && !markers) {
            continue;
        }
        ++counts.objects;
        const QJsonArray parts =
            object["levels"].toArray()[object["currentLevel"].toInt()].toArray();
        for (const auto& part : parts) {
            const int triangles = part.toObject()["triangles"].toInt();
            if (triangles > 0 && part.toObject()["vertices"].toInt() > 0) {
                ++counts.meshes;
                counts.triangles += triangles;
            }
        }
    }
    return counts;
}

Counts countsInFile(const std::string& path) {
    const test::GlbReadBack file(test::readBytes(path));
    EXPECT_EQ(file.error(), "");
    Counts counts;
    for (const auto& node : file.model().nodes) {
        if (node.mesh < 0) {
            ++counts.objects;
            continue;
        }
        ++counts.meshes;
        const auto& primitive =
            file.model().meshes[static_cast<std::size_t>(node.mesh)].primitives[0];
        counts.triangles += static_cast<int>(
            file.model().accessors[static_cast<std::size_t>(primitive.indices)].count / 3);
    }
    return counts;
}

TEST(ExportCommandTest, WritesTheDemoShipAsInfoReportsIt) {
    test::TempDir dir;
    ASSERT_TRUE(demo::writeDemoShip(dir.path()));
    for (const bool markers : {false, true}) {
        std::vector<std::string> args = {"Demo.def", dir.file("ship.glb")};
        if (markers) {
            args.push_back("--markers");
        }
        const test::ScopedCurrentDirectory here(dir.path());
        const ExportRun run = exportTo(dir.path(), args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(run.err, "");
        const Counts info = countsFromInfo(dir.path(), "Demo.def", markers);
        const Counts file = countsInFile(dir.file("ship.glb"));
        EXPECT_EQ(file.objects, info.objects) << markers;
        EXPECT_EQ(file.meshes, info.meshes) << markers;
        EXPECT_EQ(file.triangles, info.triangles) << markers;
        EXPECT_EQ(run.out, dir.file("ship.glb") + ": " + std::to_string(info.objects) +
                               " objects, " + std::to_string(info.meshes) + " meshes, " +
                               std::to_string(info.triangles) + " triangles, " +
                               (markers ? "10" : "8") + " textures\n");
    }
    // A look at a file is not an open the user asked for.
    EXPECT_FALSE(std::filesystem::exists(dir.file("Dialog.ini")));
}

TEST(ExportCommandTest, LevelIsShownBeforeTheExportAsTheLevelButtonsDo) {
    test::TempDir dir;
    test::writeBoxClf(dir.file("Box.clf"), 2, 3, "");  // 12, 10 and 8 triangles
    for (const auto& [level, triangles] :
         std::vector<std::pair<std::string, int>>{{"1", 12}, {"2", 10}, {"3", 8}}) {
        const ExportRun run =
            exportTo(dir.path(), {"--level", level, dir.file("Box.clf"), dir.file("box.glb")});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(countsInFile(dir.file("box.glb")).triangles, triangles) << level;
    }
    const ExportRun missing =
        exportTo(dir.path(), {dir.file("Box.clf"), dir.file("box.glb"), "--level", "4"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "shipview: " + dir.file("Box.clf") + " has no level 4\n");
}

TEST(ExportCommandTest, RefusalsAndFailuresExitWithTheirCodesAndWriteNothing) {
    test::TempDir dir;
    test::writeBoxClf(dir.file("Box.clf"), 2, 1, "");
    const std::string box = dir.file("Box.clf");
    const std::string out = dir.file("out.glb");
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string err;
    };
    const Case cases[] = {
        {{}, 2, "shipview: --export needs FILE and OUT.glb\n"},
        {{box}, 2, "shipview: --export needs FILE and OUT.glb\n"},
        {{box, out, "extra.glb"}, 2, "shipview: --export needs FILE and OUT.glb\n"},
        {{box, dir.file("out.gltf")},
         2,
         "shipview: " + dir.file("out.gltf") + " is not a .glb file\n"},
        {{dir.file("Box.txt"), out},
         2,
         "shipview: " + dir.file("Box.txt") + " is not a .clf, .cff or .def file\n"},
        {{box, out, "--level"}, 2, "shipview: --level needs a level from 1 to 4\n"},
        {{box, out, "--level", "0"}, 2, "shipview: --level needs a level from 1 to 4\n"},
        {{box, out, "--level", "5"}, 2, "shipview: --level needs a level from 1 to 4\n"},
        {{box, out, "--level", "1x"}, 2, "shipview: --level needs a level from 1 to 4\n"},
        {{box, out, "--cancel"}, 2, "shipview: unknown option --cancel\n"},
        {{dir.file("gone.clf"), out},
         1,
         "shipview: nothing was read from " + dir.file("gone.clf") + "\n"},
        {{box, dir.file("gone/out.glb")},
         1,
         "shipview: can't write " + dir.file("gone/out.glb") + "\n"},
    };
    for (const Case& c : cases) {
        const ExportRun run = exportTo(dir.path(), c.args);
        EXPECT_EQ(run.code, c.code) << ::testing::PrintToString(c.args);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(ExportCommandTest, TheWindowOffersTheModelsNameWithGlbAndAddsTheEnding) {
    EXPECT_EQ(suggestedGlbPath("/ships/Brig.def"), "/ships/Brig.glb");
    EXPECT_EQ(suggestedGlbPath("C:\\ships\\hull.CLF"), "C:\\ships\\hull.glb");
    EXPECT_EQ(suggestedGlbPath(""), "Ship.glb");
    EXPECT_EQ(withGlbExtension("/out/brig"), "/out/brig.glb");
    EXPECT_EQ(withGlbExtension("/out/brig.GLB"), "/out/brig.GLB");
    EXPECT_EQ(withGlbExtension("/out/brig.gltf"), "/out/brig.gltf.glb");
}

}  // namespace
}  // namespace slipway
