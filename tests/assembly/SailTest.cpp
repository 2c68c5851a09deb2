// The sail generator: entry search by DEF position, textures by type, placement, attached meshes.

#include <gtest/gtest.h>

#include "ModelFixtures.h"
#include "SceneHarness.h"
#include "engine/Sail.h"
#include "formats/SailFile.h"

namespace slipway {
namespace {

using test::SceneHarness;

SailEntry squareEntry(std::int32_t index) {
    SailEntry e;
    e.record.sailIndex = index;
    e.record.corners = {{{0, 10, 0}, {4, 10, 0}, {4, 0, 0}, {0, 0, 0}}};
    return e;
}

std::vector<std::uint8_t> opaqueTga() {
    return test::tgaFile(2, 2, 24, std::vector<std::uint8_t>(12, 200));
}

// A harness whose base directory holds both sail textures.
struct SailHarness : SceneHarness {
    SailHarness() {
        put("Parusa_english.tga", opaqueTga());
        put("Parusa_english_prost.tga", opaqueTga());
    }
    int sail(const std::vector<SailEntry>& entries, int recordIndex, int type = 0,
             const Placement& placement = {}) {
        const std::string path = put("ship.sail", writeSailFile(entries));
        return makeSail(scene, path, recordIndex, type, placement, services());
    }
};

TEST(Sail, EntriesServeTheRecordsAtTheirPositions) {
    SailHarness h;
    SailEntry triangular = squareEntry(7);
    triangular.record.shape = kTriangularSailShape;
    const std::vector<SailEntry> entries = {squareEntry(3), triangular};

    const int three = h.sail(entries, 3);
    ASSERT_EQ(three, 0);
    EXPECT_EQ(h.scene.object(three)->meshes().at(0).vertexCount(), 25u);
    const int seven = h.sail(entries, 7);
    ASSERT_EQ(seven, 1);
    EXPECT_EQ(h.scene.object(seven)->meshes().at(0).vertexCount(), 15u);

    EXPECT_EQ(h.sail(entries, 5), -1);
    EXPECT_EQ(makeSail(h.scene, h.dir.file("absent.sail"), 3, 0, {}, h.services()), -1);
    EXPECT_TRUE(h.prompt.texts().empty());
    EXPECT_EQ(h.scene.objectCount(), 2);
}

TEST(Sail, TypeSixShowsThePaintedCloth) {
    SailHarness h;
    const std::uint32_t painted = [&] {
        h.sail({squareEntry(0)}, 0, 6);
        return h.textures.textureIndex("Parusa_english");
    }();
    const std::uint32_t plain = h.textures.textureIndex("Parusa_english_prost");
    ASSERT_NE(painted, plain);  // the first texture loaded has index 0
    ASSERT_NE(h.textures.entry(plain), nullptr);
    EXPECT_EQ(h.scene.object(0)->meshes()[0].texture, painted);
    for (int type = 0; type <= 5; ++type) {
        const int slot = h.sail({squareEntry(0)}, 0, type);
        EXPECT_EQ(h.scene.object(slot)->meshes()[0].texture, plain) << "type " << type;
    }
}

TEST(Sail, ObjectIsPlacedFromItsParentAndNeverRotated) {
    SailHarness h;
    const int parent = h.clf(writeClf(test::clfSquare()), Placement{-1, {1, 2, 3}, {}});
    ASSERT_EQ(parent, 0);

    const Placement onParent{parent, {0, 5, 0}, {0.5f, 1.0f, 1.5f}};
    const int slot = h.sail({squareEntry(0)}, 0, 0, onParent);
    const SceneObject& sail = *h.scene.object(slot);
    EXPECT_EQ(sail.kind, ObjectKind::Sail);
    EXPECT_TRUE(sail.visible);
    EXPECT_EQ(sail.parent, parent);
    EXPECT_EQ(sail.angles.y, 1.0f);
    Matrix4 expected = identity();
    setTranslation(expected, {1, 7, 3});
    EXPECT_EQ(sail.world, expected);
    EXPECT_TRUE(sail.meshes()[0].doubleSided);
    // The sail's meshes are not finished: bounds keep their construction values.
    EXPECT_EQ(sail.boundsSize.x, 1.0f);
    EXPECT_EQ(sail.boundsCenter.y, 0.0f);

    // Without a parent (or with an empty parent slot) the sail stays at the origin.
    for (int noParent : {-1, 100}) {
        const int alone = h.sail({squareEntry(0)}, 0, 0, Placement{noParent, {0, 5, 0}, {}});
        EXPECT_EQ(h.scene.object(alone)->world, identity()) << noParent;
    }
}

TEST(Sail, AttachedMeshesKeepTheirPositionsAndTakeCornerCoordinates) {
    SailHarness h;
    h.put("rope.tga", opaqueTga());
    SailEntry e = squareEntry(2);
    SailAttachedMesh rope;
    rope.textureName = "rope.tga";
    rope.vertices = {test::clfVertex(1, 2, 3), test::clfVertex(4, 5, 6), test::clfVertex(7, 8, 9)};
    rope.vertices[0].nx = 0.7f;  // the file's normals are not used
    // Vertex 1 is used twice: it keeps the coordinates of the later triangle. Index 9 does not
    // exist and is drawn as vertex 0.
    rope.triangles = {test::clfTriangle(0, 1, 2, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f),
                      test::clfTriangle(1, 9, 2, 0.7f, 0.8f, 0.9f, 1.0f, 0.5f, 0.6f)};
    SailAttachedMesh empty;
    empty.triangles = {test::clfTriangle(0, 1, 2)};
    e.attached = {rope, empty};

    const int slot = h.sail({e}, 2);
    ASSERT_GE(slot, 0);
    const auto& meshes = h.scene.object(slot)->meshes();
    ASSERT_EQ(meshes.size(), 3u);
    const MeshPart& part = meshes[1];
    EXPECT_EQ(part.texture, h.textures.textureIndex("rope"));
    EXPECT_NE(part.texture, 0u);
    EXPECT_FALSE(part.doubleSided);
    ASSERT_EQ(part.vertexCount(), 3u);
    const std::vector<RenderVertex> expected = {
        {1, 2, 3, 0, 0, 1, 0.9f, 1.0f},  // set again by the second triangle's bad index
        {4, 5, 6, 0, 0, 1, 0.7f, 0.8f},
        {7, 8, 9, 0, 0, 1, 0.5f, 0.6f},
    };
    EXPECT_EQ(part.vertices, expected);
    EXPECT_EQ(part.indices, (std::vector<std::uint16_t>{0, 1, 2, 1, 0, 2}));
    EXPECT_EQ(meshes[2].indexCount(), 0u);  // no vertex for its indices to name
    EXPECT_TRUE(h.prompt.texts().empty());
}

TEST(Sail, MissingTexturesAreReportedAndFullSceneFailsSilently) {
    SceneHarness h;  // no textures at all
    const std::string path = h.put("ship.sail", writeSailFile(std::vector{squareEntry(0)}));
    const int slot = makeSail(h.scene, path, 0, 0, {}, h.services());
    ASSERT_GE(slot, 0);
    EXPECT_EQ(h.scene.object(slot)->meshes()[0].texture, 0u);
    EXPECT_EQ(h.prompt.texts(),
              (std::vector<std::string>{"Can't Find Texture: Parusa_english.tga",
                                        "Can't Find Texture: Parusa_english_prost.tga"}));

    h.prompt.reset();
    h.warnMissing = 0;
    while (!h.scene.isFull())
        ASSERT_GE(makeSail(h.scene, path, 0, 0, {}, h.services()), 0);
    EXPECT_EQ(makeSail(h.scene, path, 0, 0, {}, h.services()), -1);
    EXPECT_TRUE(h.prompt.texts().empty());
}

}  // namespace
}  // namespace slipway
