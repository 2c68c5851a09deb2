// The model editor's scene operations, on models read by the editor's reader.

#include <cmath>

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "SceneHarness.h"
#include "engine/ModelEditing.h"

namespace slipway {
namespace {

using test::SceneHarness;

// Three squares named a, b and c, side by side along x and one unit higher each; with `keys`
// the model has two keys per object and mesh b carries only the first.
std::vector<std::uint8_t> threeSquares(bool keys = false) {
    ClfModel model;
    model.version = kClfEditedVersion;
    std::vector<ClfObject> objects;
    const char* names[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) {
        ClfObject square = test::clfSquare(names[i]).levels[0][0];
        for (ClfVertex& v : square.vertices) {
            v.x += 2.0f * static_cast<float>(i);
            v.y += static_cast<float>(i);
            v.nz = 1;
        }
        objects.push_back(square);
    }
    if (keys) {
        model.keysPerObject = 2;
        objects[0].keys = {KeyRecord{}, KeyRecord{1, 2, 3, 0, 0, 0, 7}};
        objects[1].keys = {KeyRecord{0, 10, 0, 0, 0, 0, 0}};
        objects[2].keys = {KeyRecord{}, KeyRecord{}};
    }
    model.levels = {objects};
    return writeClf(model);
}

std::vector<std::uint16_t> indicesOf(const SceneObject& object, int mesh) {
    return object.meshes()[static_cast<std::size_t>(mesh)].indices;
}

TEST(ModelEditing, NamesAndKeyCountsOfWhatAReadAdded) {
    SceneHarness h(kMeshviewRules);
    h.clf(threeSquares(true));
    struct Case {
        int slot, index;
        const char* name;  // null: nothing
    };
    for (const Case& c :
         {Case{0, 0, "a"}, Case{0, 2, "c"}, Case{0, 3, nullptr}, Case{0, -1, nullptr},
          Case{1, 0, nullptr}, Case{-1, 0, nullptr}, Case{64, 0, nullptr}}) {
        const auto name = meshNameAt(h.scene, c.slot, c.index);
        ASSERT_EQ(name.has_value(), c.name != nullptr) << c.slot << "/" << c.index;
        if (c.name) {
            EXPECT_EQ(*name, c.name);
        }
    }
    EXPECT_EQ(objectKeyCount(h.scene, 0), std::optional<std::uint32_t>(2));
    EXPECT_EQ(objectKeyCount(h.scene, 1), std::nullopt);
    EXPECT_EQ(objectKeyCount(h.scene, 64), std::nullopt);
}

TEST(ModelEditing, MakeCurrentShowsOneObjectAndReleaseShowsAll) {
    SceneHarness h(kMeshviewRules);
    for (int i = 0; i < 3; ++i)
        h.clf(threeSquares());
    EXPECT_EQ(currentObject(h.scene), nullptr);

    makeCurrent(h.scene, 1);
    EXPECT_EQ(currentObject(h.scene), h.scene.object(1));
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(h.scene.object(slot)->current, slot == 1);
        EXPECT_EQ(h.scene.object(slot)->visible, slot == 1);
    }
    makeCurrent(h.scene, 3);  // beyond the object count: nothing changes
    EXPECT_EQ(currentObject(h.scene), h.scene.object(1));

    releaseCurrent(h.scene);
    EXPECT_EQ(currentObject(h.scene), nullptr);
    for (int slot = 0; slot < 3; ++slot)
        EXPECT_TRUE(h.scene.object(slot)->visible);
}

TEST(ModelEditing, PickingMarksTheMeshOfThatColourInTheCurrentObject) {
    SceneHarness h(kMeshviewRules);
    h.clf(threeSquares());
    std::vector<MeshPart>& parts = h.scene.object(0)->meshes();
    const std::uint32_t colourOfC = parts[2].fillColor;

    // No current object yet, and colour 0, pick nothing.
    EXPECT_EQ(pickMesh(h.scene, colourOfC, kMarkPicked), std::nullopt);
    makeCurrent(h.scene, 0);
    EXPECT_EQ(pickMesh(h.scene, 0, kMarkPicked), std::nullopt);
    EXPECT_EQ(pickMesh(h.scene, 0xFFFF, kMarkPicked), std::nullopt);  // the white background

    const auto picked = pickMesh(h.scene, colourOfC, kMarkPicked);
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(picked->index, 2);
    EXPECT_EQ(picked->name, "c");
    EXPECT_EQ(parts[2].mark, kMarkPicked);

    // Clearing leaves other mark values and hidden meshes alone.
    parts[0].mark = kMarkBlue;
    parts[1].mark = kMarkPicked;
    parts[1].hidden = true;
    clearMarks(h.scene, kMarkPicked);
    EXPECT_EQ(parts[0].mark, kMarkBlue);
    EXPECT_EQ(parts[1].mark, kMarkPicked);
    EXPECT_EQ(parts[2].mark, kMarkNone);

    // Marking by index is a click on that mesh: the other picks go.
    parts[1].hidden = false;
    EXPECT_TRUE(markMesh(h.scene, 0));
    EXPECT_EQ(parts[0].mark, kMarkPicked);
    EXPECT_EQ(parts[1].mark, kMarkNone);
    EXPECT_FALSE(markMesh(h.scene, 3));
}

TEST(ModelEditing, EditsChangeOnlyPickedMeshesAndTwiceRestores) {
    SceneHarness h(kMeshviewRules);
    h.clf(threeSquares());
    h.clf(threeSquares());
    makeCurrent(h.scene, 0);
    SceneObject& object = *h.scene.object(0);
    const std::vector<std::uint16_t> before = indicesOf(object, 1);
    ASSERT_EQ(before.size(), 6u);
    ASSERT_TRUE(markMesh(h.scene, 1));

    toggleDoubleSided(h.scene);
    reverseWinding(h.scene);
    EXPECT_TRUE(object.meshes()[1].doubleSided);
    const std::vector<std::uint16_t> reversed = indicesOf(object, 1);
    EXPECT_EQ(reversed, (std::vector<std::uint16_t>{before[0], before[2], before[1], before[3],
                                                    before[5], before[4]}));
    // The unpicked meshes and the other object are untouched.
    EXPECT_FALSE(object.meshes()[0].doubleSided);
    EXPECT_EQ(indicesOf(object, 0), indicesOf(*h.scene.object(1), 0));
    EXPECT_EQ(indicesOf(*h.scene.object(1), 1), before);

    const auto revision = object.editRevision;
    toggleDoubleSided(h.scene);
    EXPECT_EQ(object.editRevision, revision);  // a drawing state: the buffers stay
    reverseWinding(h.scene);
    EXPECT_GT(object.editRevision, revision);  // new indices must reach the renderer
    EXPECT_FALSE(object.meshes()[1].doubleSided);
    EXPECT_EQ(indicesOf(object, 1), before);
}

TEST(ModelEditing, RenameKeepsSixtyThreeCharactersAndChecksTheIndex) {
    SceneHarness h(kMeshviewRules);
    h.clf(threeSquares());
    renameMesh(h.scene, 0, "ignored");  // no current object
    EXPECT_EQ(h.scene.object(0)->meshes()[0].name, "a");
    makeCurrent(h.scene, 0);
    renameMesh(h.scene, 1, "mainmast");
    renameMesh(h.scene, 2, std::string(70, 'x'));
    renameMesh(h.scene, 3, "nobody");
    renameMesh(h.scene, -1, "nobody");
    EXPECT_EQ(h.scene.object(0)->meshes()[1].name, "mainmast");
    EXPECT_EQ(h.scene.object(0)->meshes()[2].name, std::string(63, 'x'));
}

TEST(ModelEditing, SetFramePosesSlotZeroAndAShortTrackHoldsItsLastKey) {
    SceneHarness h(kMeshviewRules);
    h.clf(threeSquares(true));
    SceneObject& object = *h.scene.object(0);
    const auto& parts = object.meshes();
    // Read: posed by the first key, so x is mirrored.
    EXPECT_EQ(parts[0].vertices[1].x, -1.0f);
    EXPECT_EQ(parts[1].vertices[0].y, 11.0f);

    ASSERT_TRUE(setFrame(h.scene, 1));
    // Key 1 of mesh a moves it by (1, 2, 3) before the mirror.
    EXPECT_EQ(parts[0].vertices[1].x, -2.0f);
    EXPECT_EQ(parts[0].vertices[1].y, 2.0f);
    EXPECT_EQ(parts[0].vertices[1].z, 3.0f);
    EXPECT_EQ(parts[0].vertices[1].nz, 1.0f);  // normals stay
    // Mesh b has one key only: it keeps that pose.
    EXPECT_EQ(parts[1].vertices[0].y, 11.0f);

    const auto revision = object.editRevision;
    EXPECT_FALSE(setFrame(h.scene, 2));
    EXPECT_FALSE(setFrame(h.scene, -1));
    EXPECT_EQ(object.editRevision, revision);
    EXPECT_EQ(parts[0].vertices[1].x, -2.0f);

    SceneHarness empty(kMeshviewRules);
    EXPECT_FALSE(setFrame(empty.scene, 0));
}

TEST(ModelEditing, HeightIsTheYExtentOfEveryModel) {
    SceneHarness h(kMeshviewRules);
    EXPECT_EQ(measureHeight(h.scene), 0.0f);  // nothing to measure
    h.clf(threeSquares());
    EXPECT_EQ(measureHeight(h.scene), 3.0f);  // y from 0 to 3
    h.clf(threeSquares(), Placement{-1, Vec3{0, 100, 0}, {}});
    EXPECT_EQ(measureHeight(h.scene), 3.0f);  // placement is ignored
    h.scene.object(1)->meshes()[2].vertices[0].y = -4;
    EXPECT_EQ(measureHeight(h.scene), 7.0f);
    h.scene.object(1)->kind = ObjectKind::Sail;
    EXPECT_EQ(measureHeight(h.scene), 3.0f);
}

TEST(ModelEditing, ScaleMultipliesPositionsTracksAndKeyTranslations) {
    SceneHarness h(kMeshviewRules);
    h.clf(threeSquares(true));
    h.clf(threeSquares(true));
    SceneObject& object = *h.scene.object(0);
    const MeshPart& a = object.meshes()[0];
    const RenderVertex shownBefore = a.vertices[2];
    const Vec3 boundsBefore = object.boundsSize;
    ASSERT_TRUE(scaleModel(h.scene, 2.0f));
    EXPECT_EQ(a.vertices[2].x, 2 * shownBefore.x);
    EXPECT_EQ(a.vertices[2].y, 2 * shownBefore.y);
    EXPECT_EQ(a.vertices[2].nz, 1.0f);
    EXPECT_EQ(a.vertices[2].u, shownBefore.u);
    EXPECT_EQ(a.keyTrack.positions[2].x, 2.0f);
    EXPECT_EQ(a.keyTrack.keys[1], (KeyRecord{2, 4, 6, 0, 0, 0, 7}));
    EXPECT_EQ(object.boundsSize.y, 2 * boundsBefore.y);
    // Only slot 0 is scaled.
    EXPECT_EQ(h.scene.object(1)->meshes()[0].keyTrack.positions[2].x, 1.0f);
    // Posing afterwards poses the scaled model.
    ASSERT_TRUE(setFrame(h.scene, 1));
    EXPECT_EQ(a.vertices[1].x, -4.0f);

    // Refused factors change nothing.
    const RenderVertex kept = a.vertices[2];
    EXPECT_FALSE(scaleModel(h.scene, std::nanf("")));
    EXPECT_FALSE(scaleModel(h.scene, INFINITY));
    EXPECT_FALSE(scaleModel(h.scene, 1e38f));  // 6 × 1e38 is beyond the float range
    EXPECT_EQ(a.vertices[2], kept);
    SceneHarness empty(kMeshviewRules);
    EXPECT_FALSE(scaleModel(empty.scene, 2.0f));
}

}  // namespace
}  // namespace slipway
