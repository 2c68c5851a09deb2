#include <gtest/gtest.h>

#include <cmath>

#include "ModelFixtures.h"
#include "SceneHarness.h"

namespace slipway {
namespace {

using test::SceneHarness;

CffVertex vertex(std::int16_t px, std::int16_t py, std::int16_t pz, std::int16_t pu = 0,
                 std::int16_t pv = 0, std::int8_t qx = 0, std::int8_t qy = 0, std::int8_t qz = 0) {
    return CffVertex{px, py, pz, pu, pv, qx, qy, qz};
}

CffObject triangle(std::vector<CffVertex> vertices) {
    CffObject object;
    object.header.uvScale = 2;
    object.vertices = std::move(vertices);
    object.triangles = {{0, 1, 2}};
    return object;
}

TEST(CffLoader, DecodesPositionsNormalsAndTexCoords) {
    CffModel model = test::cffModel({triangle(
        {vertex(16384, 0, 0, 3, -4, 127, -127, 0), vertex(-32768, 0, 0), vertex(0, 32767, 0)})});
    model.header.scale[0] = 2;
    model.header.origin[0] = 10;
    model.header.origin[1] = 1;
    model.levels.push_back(model.levels[0]);
    SceneHarness h;
    const int slot = h.cff(writeCff(model));
    ASSERT_EQ(slot, 0);
    SceneObject& object = *h.scene.object(slot);
    const auto& v = object.meshes()[0].vertices;
    EXPECT_FLOAT_EQ(v[0].x, 11);
    EXPECT_FLOAT_EQ(v[1].x, 8);
    EXPECT_FLOAT_EQ(v[2].y, 1 + 32767.0f * 2 / 65536);
    EXPECT_FLOAT_EQ(v[0].u, 0.5f);  // 3 / 2, shifted by 1 as the largest u is above 1
    EXPECT_FLOAT_EQ(v[0].v, -2);
    // Level 0's normals are recomputed; level 1 keeps the decoded ones.
    EXPECT_EQ(v[0].nx, 0);
    h.scene.setLevel(1);
    const auto& low = object.meshes()[0].vertices;
    EXPECT_FLOAT_EQ(low[0].nx, 1);
    EXPECT_FLOAT_EQ(low[0].ny, -1);
    EXPECT_EQ(h.listener.loads.back().levels, 2);
}

TEST(CffLoader, DecodedValuesThatAreNotFiniteBecomeZero) {
    // A texture divisor of 0, or a box so large that a position leaves the float range or
    // multiplies infinity by 0: none of it reaches the vertices as infinity or NaN.
    const float inf = INFINITY;
    const float big = 3e38f;
    struct Case {
        float uvScale, scaleX, originX;
    } cases[] = {{0, 1, 0}, {2, inf, 0}, {2, big, big}, {2, 1, -inf}};
    for (const Case& c : cases) {
        CffObject object =
            triangle({vertex(0, 0, 0, 5, -5), vertex(32767, 0, 0, 0, 0), vertex(0, 1, 0)});
        object.header.uvScale = c.uvScale;
        CffModel model = test::cffModel({object});
        model.header.scale[0] = c.scaleX;
        model.header.origin[0] = c.originX;
        SceneHarness h;
        const SceneObject& loaded = *h.scene.object(h.cff(writeCff(model)));
        for (const RenderVertex& r : loaded.meshes()[0].vertices) {
            for (float value : {r.x, r.y, r.z, r.nx, r.ny, r.nz, r.u, r.v})
                EXPECT_TRUE(std::isfinite(value)) << c.uvScale << " " << c.scaleX;
        }
        if (c.uvScale == 0) {
            for (const RenderVertex& r : loaded.meshes()[0].vertices) {
                EXPECT_EQ(r.u, 0);
                EXPECT_EQ(r.v, 0);
            }
        }
        EXPECT_TRUE(std::isfinite(loaded.boundsCenter.x));
        EXPECT_TRUE(std::isfinite(loaded.boundsSize.x));
    }
}

TEST(CffLoader, IndexWidthByVertexCountAndOutOfRangeIndicesBecomeZero) {
    CffObject small = test::cffFan(256);
    CffObject large = test::cffFan(257);
    small.triangles.push_back({255, 3, 4});
    large.triangles.push_back({256, 300, 4});  // 300 is past the vertices
    CffObject noVertices;
    noVertices.triangles = {{0, 0, 0}};
    SceneHarness h;
    const int slot = h.cff(writeCff(test::cffModel({small, large, noVertices})));
    ASSERT_GE(slot, 0);
    const auto& parts = h.scene.object(slot)->meshes();
    EXPECT_EQ(parts[0].indices[3 * 254], 255);
    EXPECT_EQ(parts[1].indices[3 * 255], 256);
    EXPECT_EQ(parts[1].indices[3 * 255 + 1], 0);
    EXPECT_EQ(parts[2].indexCount(), 0u);  // nothing to index
    EXPECT_TRUE(h.prompt.texts().empty());
}

TEST(CffLoader, ShipViewerStepsOverKeyRecords) {
    CffObject first = test::cffFan(4, "aaaa");
    first.keys.resize(3);
    CffModel model = test::cffModel({first, test::cffFan(6, "bbbb")});
    model.textureNames = {"x.tga", "y.tga"};
    model.textureRecords.resize(1);
    model.textureRecords[0].extra.resize(3);
    SceneHarness h;
    h.warnMissing = 0;
    const int slot = h.cff(writeCff(model));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(h.scene.object(slot)->meshes()[1].vertexCount(), 6u);
}

TEST(CffLoader, TextureNamesEndAtTheirFirstZeroByte) {
    // Some writers count the terminator in the length byte; the name is what comes before it,
    // so the ".tf" form is still tried and the part finds its texture.
    SceneHarness h;
    h.paths.writeDirectoryList(kTexturePathSection, {h.dir.path()});
    h.put("deck.tf", test::tfFile(0, 1, 1, {7}));
    CffModel model = test::cffModel({test::cffFan(3)});
    model.textureNames = {"old.tga", std::string("deck.tga\0junk", 13)};
    model.levels[0].objects[0].header.textureNameIndex = 1;
    h.warnMissing = 0;
    const int slot = h.cff(writeCff(model));
    ASSERT_GE(slot, 0);
    EXPECT_EQ(h.textures.textureCount(), 1);
    const TextureEntry* texture = h.textures.entry(h.scene.object(slot)->meshes()[0].texture);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->name, "deck");
}

TEST(CffLoader, ModelUnderAParentIsTurnedByYawAndPitch) {
    SceneHarness h;
    const std::vector<std::uint8_t> bytes = writeCff(test::cffModel({test::cffFan(3)}));
    const int parent = h.cff(bytes, Placement{-1, Vec3{1, 2, 3}, Vec3{0, 1.5708f, 0}});
    EXPECT_EQ(h.scene.object(parent)->world[0], 1);  // without a parent: not turned
    EXPECT_EQ(h.scene.object(parent)->world[12], 1);
    const int child = h.cff(bytes, Placement{parent, Vec3{10, 0, 0}, Vec3{0, 1.5708f, 2}});
    const Matrix4& w = h.scene.object(child)->world;
    Matrix4 expected = yawPitch(1.5708f, 0);
    setTranslation(expected, Vec3{11, 2, 3});
    EXPECT_EQ(w, expected);
    const int orphan = h.cff(bytes, Placement{9, Vec3{10, 0, 0}, Vec3{0, 1.5708f, 0}});
    EXPECT_EQ(h.scene.object(orphan)->world, identity());
}

TEST(CffLoader, ModelEditorForm) {
    const float quarter = 1.5707963f;
    CffObject keyed =
        triangle({vertex(0, 0, 0, 0, 0, 127, 0, 0), vertex(32767, 0, 0), vertex(0, 32767, 0)});
    keyed.header.shortName = {'m', 'a', 's', 't'};
    keyed.keys = {KeyRecord{0, 0, 0, 0, 0, quarter, 0}, KeyRecord{}, KeyRecord{}};
    CffObject plain = test::cffFan(4, "sa");
    plain.keys = {KeyRecord{}};
    CffModel model = test::cffModel({keyed, plain});
    model.levels.push_back(model.levels[0]);  // the editor reads the first level only
    SceneHarness h(kMeshviewRules);
    const int slot = h.cff(writeCff(model));
    ASSERT_EQ(slot, 0);
    const SceneObject& object = *h.scene.object(slot);
    EXPECT_EQ(object.keyCount, 3u);  // the largest of its parts
    EXPECT_EQ(object.levelCount, 1);
    EXPECT_EQ(h.listener.loads, (std::vector<ModelRead>{{0, 1, 2}}));
    const MeshPart& part = object.meshes()[0];
    EXPECT_EQ(part.name, "mast");
    EXPECT_EQ(object.meshes()[1].name, "sa");
    // Posed by its first key: positions turned a quarter about Z and mirrored in x; the normal
    // (1, 0, 0) turns to (0, 1, 0) and then has y and z negated.
    EXPECT_NEAR(part.vertices[1].x, 0, 1e-4);
    EXPECT_NEAR(part.vertices[1].y, 32767.0f * 2 / 65536, 1e-4);
    EXPECT_NEAR(part.vertices[0].nx, 0, 1e-6);
    EXPECT_NEAR(part.vertices[0].ny, -1, 1e-6);
    EXPECT_FLOAT_EQ(part.keyTrack.positions[1].x, 32767.0f * 2 / 65536);
    EXPECT_NE(part.fillColor, object.meshes()[1].fillColor);
}

TEST(CffLoader, DamagedFilesAddNothing) {
    CffObject object = test::cffFan(5);
    object.keys.resize(1);
    CffModel model = test::cffModel({object});
    model.textureNames = {"tex.tga"};
    model.textureRecords.resize(1);
    model.textureRecords[0].extra.resize(1);
    const std::vector<std::uint8_t> good = writeCff(model);
    for (const ViewerRules* rules : {&kShipviewRules, &kMeshviewRules}) {
        SceneHarness h(*rules);
        for (std::size_t size = 0; size < good.size(); ++size) {
            h.prompt.reset();
            const std::vector<std::uint8_t> cut(good.begin(),
                                                good.begin() + static_cast<long>(size));
            EXPECT_EQ(h.cff(cut), -1) << size;
            EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{"Damaged model file\nmodel.cff"});
            EXPECT_EQ(h.scene.objectCount(), 0);
            EXPECT_TRUE(h.listener.loads.empty());
        }
    }
}

TEST(CffLoader, HugeOrNegativeCountsAreRefused) {
    const std::vector<std::uint8_t> good = writeCff(test::cffModel({test::cffFan(5)}));
    const std::size_t object = 44 + 8;
    const std::size_t offsets[] = {24, 32, 44, object + 24, object + 28, object + 36};
    for (std::uint32_t value : {0x7FFFFFF0u, 0xFFFFFFFFu}) {
        for (std::size_t offset : offsets) {
            std::vector<std::uint8_t> bytes = good;
            test::patchU32(bytes, offset, value);
            SceneHarness h;
            const int slot = h.cff(bytes);
            EXPECT_EQ(slot, -1) << offset << " " << value;
        }
    }
}

}  // namespace
}  // namespace slipway
