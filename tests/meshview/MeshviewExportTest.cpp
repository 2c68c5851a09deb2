// `meshview --export`: a single model as Meshview shows it, its parts under their own names.

#include <sstream>

#include <gtest/gtest.h>

#include "GlbReadBack.h"
#include "ModelFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "export/ExportCommand.h"
#include "make-demo-ship/DemoShip.h"

namespace slipway {
namespace {

int exportModel(const std::string& base, const std::vector<std::string>& args,
                std::string& err) {
    std::ostringstream out, errors;
    const int code = runExport(args, base, {"meshview", kMeshviewRules, "Slipway Meshview"},
                               out, errors);
    err = errors.str();
    return code;
}

TEST(MeshviewExportTest, TheModelsPartsKeepTheirNames) {
    test::TempDir dir;
    ASSERT_TRUE(demo::writeDemoShip(dir.path()));
    std::string err;
    ASSERT_EQ(exportModel(dir.path(), {dir.file("rudder.cff"), dir.file("rudder.glb")}, err), 0)
        << err;
    const test::GlbReadBack glb(test::readBytes(dir.file("rudder.glb")));
    ASSERT_TRUE(glb.error().empty()) << glb.error();
    EXPECT_EQ(glb.model().meshes.size(), 3u);
    EXPECT_EQ(glb.model().asset.generator, "Slipway Meshview");
    // One node for the model, named after its file, and one per part under its own name.
    const int model = glb.node("rudder");
    ASSERT_GE(model, 0);
    for (const tinygltf::Mesh& mesh : glb.model().meshes) {
        const int part = glb.node(mesh.name);
        ASSERT_GE(part, 0) << mesh.name;
        EXPECT_EQ(glb.parentOf(part), model) << mesh.name;
    }
}

TEST(MeshviewExportTest, RefusalsNameMeshview) {
    test::TempDir dir;
    test::writeBytes(dir.file("empty.clf"), {});
    std::string err;
    EXPECT_EQ(exportModel(dir.path(), {dir.file("empty.clf"), dir.file("e.glb")}, err), 1);
    EXPECT_EQ(err.rfind("meshview: nothing was read from ", 0), 0u) << err;
    EXPECT_EQ(exportModel(dir.path(), {dir.file("empty.clf")}, err), 2);
    EXPECT_EQ(err, "meshview: --export needs FILE and OUT.glb\n");
}

}  // namespace
}  // namespace slipway
