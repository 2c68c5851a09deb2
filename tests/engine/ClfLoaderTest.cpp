#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "SceneHarness.h"

namespace slipway {
namespace {

using test::clfTriangle;
using test::clfVertex;
using test::SceneHarness;

const std::string kDamaged = "Damaged model file\nmodel.clf";

ClfModel oneObject(ClfObject object) {
    ClfModel model;
    model.levels = {{std::move(object)}};
    return model;
}

const MeshPart& onlyPart(SceneHarness& h, int slot) {
    return h.scene.object(slot)->meshes().at(0);
}

TEST(ClfLoader, CubeFacesSplitVerticesWhoseCornersDisagree) {
    SceneHarness h;
    const int slot = h.clf(writeClf(oneObject(test::clfCube())));
    ASSERT_EQ(slot, 0);
    const MeshPart& part = onlyPart(h, slot);
    EXPECT_GT(part.vertexCount(), 8u);
    EXPECT_EQ(part.indexCount(), 36u);
    // Every corner's vertex carries the coordinates that corner asked for.
    const ClfObject cube = test::clfCube();
    for (std::size_t t = 0; t < cube.triangles.size(); ++t) {
        const ClfTriangle& tri = cube.triangles[t];
        const std::uint16_t corners[3] = {tri.a, tri.b, tri.c};
        for (int c = 0; c < 3; ++c) {
            const RenderVertex& v =
                part.vertices.at(part.indices[3 * t + static_cast<std::size_t>(c)]);
            EXPECT_EQ(v.u, tri.u[c]);
            EXPECT_EQ(v.v, tri.v[c]);
            EXPECT_EQ(v.x, cube.vertices[corners[c]].x);
        }
    }
}

TEST(ClfLoader, SharedCoordinatesShareAVertexAndOthersAreCopiedAtTheEnd) {
    ClfObject object;
    for (int i = 0; i < 7; ++i)
        object.vertices.push_back(clfVertex(static_cast<float>(i), 0, 0));
    object.triangles = {
        clfTriangle(5, 0, 1, 0.25f, 0.5f, 0, 0, 0, 0),
        clfTriangle(2, 5, 3, 0, 0, 0.25f, 0.5f, 0, 0),  // same (u, v) for 5: shared
        clfTriangle(5, 3, 2, 0.75f, 0.5f, 0, 0, 0, 0),  // another (u, v) for 5: copied
    };
    SceneHarness h;
    const MeshPart& part = onlyPart(h, h.clf(writeClf(oneObject(object))));
    ASSERT_EQ(part.vertexCount(), 8u);
    EXPECT_EQ(part.indices[0], 5);
    EXPECT_EQ(part.indices[4], 5);
    EXPECT_EQ(part.indices[6], 7);
    EXPECT_EQ(part.vertices[7].x, 5);
    EXPECT_EQ(part.vertices[7].u, 0.75f);
    EXPECT_EQ(part.vertices[5].u, 0.25f);
    // Vertices 4 and 6 are used by no triangle and keep the marker (the shift leaves it).
    EXPECT_EQ(part.vertices[4].u, -50.0f);
    EXPECT_EQ(part.vertices[6].v, -50.0f);
}

TEST(ClfLoader, SplittingStopsWhere16BitIndicesEnd) {
    // 65,535 vertices: one copy still gets index 65535; a further one could not be addressed,
    // so that corner keeps the vertex's first coordinates.
    ClfObject object;
    object.vertices.assign(65535, clfVertex(1, 2, 3));
    object.triangles = {clfTriangle(0, 1, 2, 0.5f, 0.5f), clfTriangle(0, 1, 2, 0.25f, 0.25f),
                        clfTriangle(0, 1, 2, 0.75f, 0.75f)};
    SceneHarness h;
    const MeshPart& part = onlyPart(h, h.clf(writeClf(oneObject(object))));
    EXPECT_EQ(part.vertexCount(), 65536u);
    EXPECT_EQ(part.indices[3], 65535);
    EXPECT_EQ(part.vertices[65535].u, 0.25f);
    EXPECT_EQ(part.indices[6], 0);
    EXPECT_EQ(part.vertices[0].u, 0.5f);
}

TEST(ClfLoader, EmptyObjectIsSkippedAndTheNextIsReadInPlace) {
    ClfObject empty;
    empty.name = "empty";
    for (int i = 0; i < 12; ++i)
        empty.vertices.push_back(clfVertex(99, 99, 99));
    ClfModel model = test::clfSquare("second");
    model.levels[0].insert(model.levels[0].begin(), empty);
    SceneHarness h;
    const int slot = h.clf(writeClf(model));
    const auto& parts = h.scene.object(slot)->meshes();
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].vertexCount(), 0u);
    EXPECT_EQ(parts[0].indexCount(), 0u);
    EXPECT_EQ(parts[1].vertexCount(), 4u);
    EXPECT_EQ(parts[1].vertices[2].x, 1);
}

TEST(ClfLoader, ObjectFieldsPlacementAndNotification) {
    SceneHarness h;
    ClfModel model = test::clfSquare();
    model.levels[0][0].doubleSided = true;
    const int parent = h.clf(writeClf(model), Placement{-1, Vec3{1, 2, 3}, Vec3{0.5f, 0.5f, 0.5f}});
    const SceneObject& root = *h.scene.object(parent);
    EXPECT_EQ(root.kind, ObjectKind::Model);
    EXPECT_TRUE(root.visible);
    EXPECT_EQ(root.world[12], 1);
    EXPECT_EQ(root.world[14], 3);
    EXPECT_EQ(root.world[0], 1);  // never rotated, whatever the angles
    EXPECT_EQ(root.angles.x, 0.5f);
    EXPECT_TRUE(root.meshes()[0].doubleSided);
    EXPECT_FLOAT_EQ(root.meshes()[0].vertices[0].nz, 1);  // normals recomputed
    EXPECT_FLOAT_EQ(root.boundsCenter.x, 0.5f);

    const int child = h.clf(writeClf(model), Placement{parent, Vec3{10, 0, 0}, Vec3{0, 1, 0}});
    EXPECT_EQ(h.scene.object(child)->world[12], 11);
    EXPECT_EQ(h.scene.object(child)->world[13], 2);
    EXPECT_EQ(h.scene.object(child)->parent, parent);
    const int orphan = h.clf(writeClf(model), Placement{7, Vec3{10, 0, 0}, Vec3{}});
    EXPECT_EQ(h.scene.object(orphan)->world, identity());  // empty parent slot: at the origin

    EXPECT_EQ(h.scene.objectCount(), 3);
    EXPECT_EQ(h.listener.loads, (std::vector<ModelRead>{{0, 1, 1}, {1, 1, 1}, {2, 1, 1}}));
    EXPECT_TRUE(h.prompt.texts().empty());
}

TEST(ClfLoader, LevelsOfDetail) {
    ClfModel model = test::clfSquare();
    model.levels.push_back({test::clfCube("low"), test::clfCube("low2")});
    SceneHarness h;
    const int slot = h.clf(writeClf(model));
    SceneObject& object = *h.scene.object(slot);
    EXPECT_EQ(object.levelCount, 2);
    EXPECT_EQ(object.meshCount(), 1u);
    h.scene.setLevel(2);
    EXPECT_EQ(object.meshCount(), 1u);
    h.scene.setLevel(1);
    EXPECT_EQ(object.meshCount(), 2u);
    EXPECT_EQ(h.listener.loads.back().levels, 2);
}

TEST(ClfLoader, MoreThanFourLevelsReadsFour) {
    ClfModel model = test::clfSquare();
    for (int i = 0; i < 5; ++i)
        model.levels.push_back({test::clfCube()});
    std::vector<std::uint8_t> bytes = writeClf(model);
    bytes.resize(bytes.size() - 10);  // levels past the fourth are not even looked at
    SceneHarness h;
    const int slot = h.clf(bytes);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(h.scene.object(slot)->levelCount, 4);
    EXPECT_EQ(h.listener.loads.back().levels, 4);
}

TEST(ClfLoader, EditedVersionIsRefusedByTheShipViewerOnly) {
    ClfModel model = test::clfSquare();
    model.version = kClfEditedVersion;
    SceneHarness ship;
    EXPECT_EQ(ship.clf(writeClf(model)), -1);
    EXPECT_EQ(ship.prompt.texts(), std::vector<std::string>{"Uncorrect File version"});
    EXPECT_EQ(ship.scene.objectCount(), 0);
    SceneHarness edit(kMeshviewRules);
    EXPECT_EQ(edit.clf(writeClf(model)), 0);
}

TEST(ClfLoader, ShipViewerStepsOverKeyRecordsOfOtherVersions) {
    ClfModel model = test::clfSquare("first");
    model.levels[0][0].keys.resize(3);
    model.levels[0].push_back(test::clfCube("second"));
    SceneHarness h;
    const int slot = h.clf(writeClf(model));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(h.scene.object(slot)->meshes()[1].indexCount(), 36u);
    EXPECT_TRUE(h.prompt.texts().empty());
}

TEST(ClfLoader, OutOfRangeIndexAsksInTheShipViewer) {
    ClfObject object = test::clfSquare("bad").levels[0][0];
    object.triangles.push_back(clfTriangle(1, 4, 9, 0, 1, 0.5f, 0.5f, 0.5f, 0.5f));
    const std::vector<std::uint8_t> bytes = writeClf(oneObject(object));

    SceneHarness ok;
    const int slot = ok.clf(bytes);
    ASSERT_EQ(ok.prompt.shown().size(), 1u);
    EXPECT_EQ(ok.prompt.shown()[0].text, "Corrupted object : bad");
    EXPECT_EQ(ok.prompt.shown()[0].buttons, PromptButtons::OkCancel);
    const MeshPart& part = onlyPart(ok, slot);
    // Both bad corners now use vertex 0 (through copies, as their coordinates differ).
    for (std::size_t corner : {7u, 8u}) {
        const RenderVertex& v = part.vertices.at(part.indices[corner]);
        EXPECT_EQ(v.x, 0);
        EXPECT_EQ(v.y, 0);
        EXPECT_EQ(v.u, 0.5f);
    }

    SceneHarness cancel;
    cancel.prompt.plan(PromptAnswer::Cancel);
    EXPECT_EQ(cancel.clf(bytes), -1);
    EXPECT_EQ(cancel.scene.objectCount(), 0);
    EXPECT_EQ(cancel.scene.firstFreeSlot(), 0);
    EXPECT_TRUE(cancel.listener.loads.empty());

    SceneHarness edit(kMeshviewRules);  // silently 0
    const int editSlot = edit.clf(bytes);
    EXPECT_TRUE(edit.prompt.texts().empty());
    EXPECT_EQ(onlyPart(edit, editSlot).vertices.at(onlyPart(edit, editSlot).indices[8]).x, 0);
}

TEST(ClfLoader, DamagedFilesAddNothing) {
    ClfModel model = test::clfSquare();
    model.textureNames = {"missing.tga"};
    model.levels.push_back({test::clfCube()});
    const std::vector<std::uint8_t> good = writeClf(model);
    for (const ViewerRules* rules : {&kShipviewRules, &kMeshviewRules}) {
        SceneHarness h(*rules);
        for (std::size_t size = 0; size < good.size(); ++size) {
            h.prompt.reset();
            const std::vector<std::uint8_t> cut(good.begin(),
                                                good.begin() + static_cast<long>(size));
            const int slot = h.clf(cut);
            // The model editor reads level 0 only, so a cut in level 1 does not matter to it.
            if (rules->keepsEditData && size >= 48 + 256 + 144 + 4 * 28 + 2 * 32) {
                EXPECT_EQ(slot, 0) << size;
                h.scene.clear(h.listener);
                h.listener.loads.clear();
                h.textures.releaseTextures();
                continue;
            }
            EXPECT_EQ(slot, -1) << size;
            EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{kDamaged}) << size;
            EXPECT_EQ(h.scene.objectCount(), 0);
            EXPECT_TRUE(h.listener.loads.empty());
            EXPECT_EQ(h.textures.textureCount(), 0);
        }
    }
}

TEST(ClfLoader, HugeCountsAreRefusedBeforeAllocating) {
    const std::vector<std::uint8_t> good = writeClf(test::clfSquare());
    const std::size_t object = 48;
    const std::size_t offsets[] = {20, 28, object + 40, object + 44, object + 32};
    for (std::size_t offset : offsets) {
        std::vector<std::uint8_t> bytes = good;
        test::patchU32(bytes, offset, 0xFFFFFFF0u);
        SceneHarness h;
        EXPECT_EQ(h.clf(bytes), -1) << offset;
        EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{kDamaged}) << offset;
    }
}

TEST(ClfLoader, TableFullBadParentAndMissingFile) {
    SceneHarness h(kMeshviewRules);
    const std::vector<std::uint8_t> bytes = writeClf(test::clfSquare());
    EXPECT_EQ(h.clf(bytes, Placement{64, {}, {}}), -1);
    EXPECT_EQ(h.clf(bytes, Placement{-2, {}, {}}), -1);
    EXPECT_EQ(loadClf(h.scene, h.dir.file("none.clf"), {}, h.services()), -1);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(h.clf(bytes), i);
    EXPECT_EQ(h.clf(bytes), -1);
    EXPECT_EQ(h.prompt.texts(),
              (std::vector<std::string>{"Uncorrect ParentID Value !", "Uncorrect ParentID Value !",
                                        "Can't open Model File\n" + h.dir.file("none.clf"),
                                        "Too many Objects in scene !"}));
}

TEST(ClfLoader, ReadsFromAFile) {
    SceneHarness h;
    const std::string path = h.put("boat.clf", writeClf(test::clfSquare()));
    EXPECT_EQ(loadClf(h.scene, path, {}, h.services()), 0);
}

TEST(ClfLoader, TexturesAreFoundLoadedAndLookedUpByBaseName) {
    SceneHarness h;
    h.paths.writeDirectoryList(kTexturePathSection, {h.dir.path()});  // where ".tf" is tried
    h.put("deck.tga", test::tgaFile(1, 1, 24, {1, 2, 3}));
    h.put("Sail.tf", test::tfFile(0, 1, 1, {7}));
    ClfModel model = test::clfSquare("a");
    model.textureNames = {"missing.tga", "deck.tga", "Sail.tga"};
    model.levels[0].push_back(test::clfSquare("b").levels[0][0]);
    model.levels[0].push_back(test::clfSquare("c").levels[0][0]);
    model.levels[0].push_back(test::clfSquare("d").levels[0][0]);
    model.levels[0][0].textureNameIndex = 2;
    model.levels[0][1].textureNameIndex = 1;
    model.levels[0][2].textureNameIndex = 0;
    model.levels[0][3].textureNameIndex = 7;  // past the list: the empty name
    const int slot = h.clf(writeClf(model));
    const auto& parts = h.scene.object(slot)->meshes();
    EXPECT_EQ(h.textures.textureCount(), 2);
    EXPECT_EQ(h.textures.entry(parts[0].texture)->name, "Sail");
    EXPECT_EQ(h.textures.entry(parts[1].texture)->name, "deck");
    EXPECT_EQ(parts[2].texture, 0u);
    EXPECT_EQ(parts[3].texture, 0u);
    EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{"Can't Find Texture: missing.tga"});
}

TEST(ClfLoader, ModelEditorForm) {
    ClfModel model = test::clfSquare("plank");
    model.version = kClfEditedVersion;
    model.keysPerObject = 2;
    const float quarter = 1.5707963f;
    model.levels[0][0].keys = {KeyRecord{5, 0, 0, 0, 0, quarter, 1},
                               KeyRecord{0, 0, 0, 0, 0, 0, 2}};
    model.levels[0][0].vertices[1].nx = 0.5f;  // kept as read
    model.levels[0].push_back(test::clfSquare("still").levels[0][0]);
    model.levels.push_back({test::clfCube()});  // not read
    SceneHarness h(kMeshviewRules);
    h.clock.now = 1234;
    const int slot = h.clf(writeClf(model), {}, "C:\\ships\\Boat.clf");
    ASSERT_EQ(slot, 0);
    const SceneObject& object = *h.scene.object(slot);
    EXPECT_EQ(object.fileName, "Boat");
    EXPECT_EQ(object.path, "C:\\ships\\Boat.clf");
    EXPECT_EQ(object.keyCount, 2u);
    EXPECT_EQ(object.levelCount, 1);
    EXPECT_EQ(h.listener.loads, (std::vector<ModelRead>{{0, 1, 2}}));

    const MeshPart& posed = object.meshes()[0];
    EXPECT_EQ(posed.name, "plank");
    EXPECT_EQ(posed.vertices[1].nx, 0.5f);
    ASSERT_EQ(posed.keyTrack.keys.size(), 2u);
    ASSERT_EQ(posed.keyTrack.positions.size(), 4u);
    EXPECT_EQ(posed.keyTrack.positions[1].x, 1);  // the copy keeps the positions as read
    // Posed by the first key: (1, 0, 0) turned a quarter about Z is (0, 1, 0), moved by 5 along
    // x and mirrored in x.
    EXPECT_NEAR(posed.vertices[1].x, -5, 1e-5);
    EXPECT_NEAR(posed.vertices[1].y, 1, 1e-5);
    EXPECT_FLOAT_EQ(object.boundsCenter.x, -2);  // -5 .. 1: bounds follow the pose

    const MeshPart& still = object.meshes()[1];
    EXPECT_EQ(still.vertices[1].x, 1);
    // Each part has its own pick colour and fill texture.
    EXPECT_NE(posed.fillColor, still.fillColor);
    EXPECT_NE(posed.fillTexture, still.fillTexture);
    EXPECT_EQ(h.textures.entry(posed.fillTexture)->pixel(0, 0), posed.fillColor);
}

TEST(ClfLoader, ModelEditorResolvesRepeatedTextureNamesByTheFilesIndex) {
    SceneHarness h(kMeshviewRules);
    h.put("a.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    h.put("b.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    ClfModel model = test::clfSquare();
    model.textureNames = {"a.tga", "A.TGA", "b.tga"};
    model.levels[0][0].textureNameIndex = 2;
    const int slot = h.clf(writeClf(model));
    EXPECT_EQ(h.textures.entry(onlyPart(h, slot).texture)->name, "b");
}

TEST(ClfLoader, LongTextureNamesStillFindTheirTexture) {
    SceneHarness h;
    const std::string name = "a_texture_name_that_is_long.tga";
    const std::string dir = "textures_in_a_directory\\";
    h.put("first.tga", test::tgaFile(1, 1, 24, {0, 0, 0}));
    ClfModel model = test::clfSquare();
    model.textureNames = {"first.tga", dir + name};
    model.levels[0][0].textureNameIndex = 1;
    std::filesystem::create_directories(h.dir.file("textures_in_a_directory"));
    h.put("textures_in_a_directory/" + name, test::tgaFile(1, 1, 24, {0, 0, 0}));
    const int slot = h.clf(writeClf(model));
    EXPECT_EQ(onlyPart(h, slot).texture, 1u);
}

}  // namespace
}  // namespace slipway
