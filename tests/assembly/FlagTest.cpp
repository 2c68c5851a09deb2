// Flags and pennants: the strip as made, and its waving in the fixed wind.

#include <gtest/gtest.h>

#include <cmath>

#include "ModelFixtures.h"
#include "SceneHarness.h"
#include "engine/Flag.h"

namespace slipway {
namespace {

using test::SceneHarness;

FlagObject& flagAt(SceneHarness& h, int slot) {
    return *dynamic_cast<FlagObject*>(h.scene.object(slot));
}

const RenderVertex& vertex(FlagObject& flag, int column, int row) {
    const int rows = flag.flagStyle == kPennantStyle ? 2 : 3;
    return flag.meshes()[0].vertices.at(static_cast<std::size_t>(column * rows + row));
}

struct FlagHarness : SceneHarness {
    FlagHarness() {
        const auto tga = test::tgaFile(2, 2, 24, std::vector<std::uint8_t>(12, 90));
        put("Karav_flag.tga", tga);
        put("Karav_vimpel.tga", tga);
    }
    int flag(int type, int parent = -1, Vec3 offset = {}) {
        return makeFlag(scene, parent, type, offset, services());
    }
};

TEST(Flag, StripsAsMade) {
    FlagHarness h;
    struct Case {
        int type;
        int segments;
        float width, length;
        std::size_t vertices, indices;
        const char* texture;
    };
    const Case cases[] = {
        {0, 10, 0.02f, 0.06f, 33, 120, "Karav_flag"},
        {1, 10, 0.02f, 0.06f, 33, 120, "Karav_flag"},
        {2, 30, 0.01f, 0.2f, 62, 180, "Karav_vimpel"},
    };
    for (const Case& c : cases) {
        FlagObject& f = flagAt(h, h.flag(c.type));
        EXPECT_EQ(f.kind, ObjectKind::Flag);
        EXPECT_TRUE(f.visible);
        EXPECT_EQ(f.flagStyle, c.type);
        EXPECT_EQ(f.animTime, 0);
        EXPECT_EQ(f.flagSegments, c.segments);
        EXPECT_FLOAT_EQ(f.flagWidth, c.width);
        EXPECT_FLOAT_EQ(f.flagLength, c.length);
        const MeshPart& mesh = f.meshes().at(0);
        EXPECT_EQ(mesh.vertexCount(), c.vertices);
        EXPECT_EQ(mesh.indexCount(), c.indices);
        EXPECT_TRUE(mesh.doubleSided);
        EXPECT_EQ(mesh.texture, h.textures.textureIndex(c.texture)) << c.type;
        for (const RenderVertex& v : mesh.vertices) {
            EXPECT_EQ(v.x, 0.0f);
            EXPECT_EQ(v.nx, 1.0f);
        }
    }
    EXPECT_TRUE(h.prompt.texts().empty());
    EXPECT_NE(h.textures.textureIndex("Karav_flag"), h.textures.textureIndex("Karav_vimpel"));

    FlagObject& flag = flagAt(h, 0);
    EXPECT_NEAR(vertex(flag, 4, 2).y, 0.02f, 1e-7);
    EXPECT_NEAR(vertex(flag, 4, 2).z, 0.024f, 1e-7);
    EXPECT_FLOAT_EQ(vertex(flag, 4, 1).u, 0.4f);
    EXPECT_FLOAT_EQ(vertex(flag, 4, 0).v, 1.0f);
    EXPECT_FLOAT_EQ(vertex(flag, 4, 1).v, 0.5f);
    EXPECT_FLOAT_EQ(vertex(flag, 4, 2).v, 0.0f);
    const auto& fi = flag.meshes()[0].indices;
    EXPECT_EQ(std::vector<std::uint16_t>(fi.begin() + 12, fi.begin() + 24),
              (std::vector<std::uint16_t>{3, 4, 6, 4, 7, 6, 4, 5, 7, 5, 8, 7}));

    FlagObject& pennant = flagAt(h, 2);
    EXPECT_NEAR(vertex(pennant, 30, 1).y, 0.01f, 1e-7);
    EXPECT_NEAR(vertex(pennant, 30, 1).z, 0.2f, 1e-6);
    EXPECT_FLOAT_EQ(vertex(pennant, 30, 0).v, 1.0f);
    EXPECT_FLOAT_EQ(vertex(pennant, 30, 1).v, 0.0f);
    const auto& pi = pennant.meshes()[0].indices;
    EXPECT_EQ(std::vector<std::uint16_t>(pi.begin() + 6, pi.begin() + 12),
              (std::vector<std::uint16_t>{2, 3, 5, 2, 5, 4}));
}

TEST(Flag, PlacementAndRefusals) {
    FlagHarness h;
    const int hull = h.clf(writeClf(test::clfSquare()), Placement{-1, {1, 2, 3}, {}});
    const int onHull = h.flag(0, hull, {0, 5, 0});
    EXPECT_EQ(h.scene.object(onHull)->world[13], 7.0f);
    EXPECT_EQ(h.scene.object(onHull)->world[12], 1.0f);
    EXPECT_EQ(h.scene.object(onHull)->parent, hull);
    // Without a parent object the strip hangs at the origin.
    EXPECT_EQ(h.scene.object(h.flag(0, -1, {0, 5, 0}))->world, identity());
    EXPECT_EQ(h.scene.object(h.flag(0, 300, {0, 5, 0}))->world, identity());
    EXPECT_TRUE(h.prompt.texts().empty());

    EXPECT_EQ(h.flag(0, 512), -1);
    EXPECT_EQ(h.flag(0, -2), -1);
    EXPECT_EQ(h.prompt.texts(), (std::vector<std::string>{"Uncorrect ParentID Value !",
                                                          "Uncorrect ParentID Value !"}));
    h.prompt.reset();
    while (!h.scene.isFull())
        h.flag(1);
    EXPECT_EQ(h.flag(1), -1);
    EXPECT_EQ(h.prompt.texts(), (std::vector<std::string>{"Too many Objects in scene !"}));
}

TEST(Flag, WaveClockRestartsAfterItsPeriod) {
    EXPECT_EQ(flagWavePeriod(kWindStrength), 1735);
    FlagHarness h;
    FlagObject& flag = flagAt(h, h.flag(0));
    FlagObject& pennant = flagAt(h, h.flag(2));
    h.scene.animate(1000);
    EXPECT_EQ(flag.animTime, 1000);
    h.scene.animate(734);
    EXPECT_EQ(flag.animTime, 1734);
    const auto atStart = [&] {
        h.scene.animate(1);
        return flag.animTime;
    }();
    EXPECT_EQ(atStart, 0);
    EXPECT_EQ(pennant.animTime, 1735);
    h.scene.animate(3469);
    EXPECT_EQ(pennant.animTime, 5204);
    h.scene.animate(1);
    EXPECT_EQ(pennant.animTime, 0);
    // A long pause restarts the clock instead of overflowing it.
    h.scene.animate(0xFFFFFFFFu);
    EXPECT_EQ(flag.animTime, 0);
}

// The largest sideways swing (along x) of each row at the fly end over one period, sampled
// every millisecond.
std::array<float, 3> swings(FlagObject& flag, int column) {
    std::array<float, 3> out{};
    const int rows = flag.flagStyle == kPennantStyle ? 2 : 3;
    for (int t = 0; t < flagWavePeriod(kWindStrength); ++t) {
        flag.animate(1);
        for (int r = 0; r < rows; ++r) {
            out[static_cast<std::size_t>(r)] =
                std::max(out[static_cast<std::size_t>(r)], std::abs(vertex(flag, column, r).x));
        }
    }
    return out;
}

TEST(Flag, FlagsWaveWithTheirStylesAmplitude) {
    FlagHarness h;
    // At the fly end (column 10) the middle row swings by A and the others by 0.8 A.
    const std::pair<int, float> cases[] = {{0, 0.0167f}, {1, 0.05f}};
    for (const auto& [style, amplitude] : cases) {
        FlagObject& flag = flagAt(h, h.flag(style));
        const auto swing = swings(flag, 10);
        EXPECT_NEAR(swing[1], amplitude, 2e-5) << style;
        EXPECT_NEAR(swing[0], 0.8f * amplitude, 2e-5) << style;
        EXPECT_NEAR(swing[2], 0.8f * amplitude, 2e-5) << style;
        for (int r = 0; r < 3; ++r) {
            const RenderVertex& hoist = vertex(flag, 0, r);
            EXPECT_EQ(hoist.x, 0.0f);
            EXPECT_FLOAT_EQ(hoist.y, 0.01f * static_cast<float>(r));
            EXPECT_EQ(hoist.z, 0.0f);
        }
    }
}

TEST(Flag, FlagDroopsInTheWindAtRest) {
    FlagHarness h;
    FlagObject& flag = flagAt(h, h.flag(0));
    flag.animate(0);  // phase 0: the fly end (one whole wave out) is on the centre line
    // D = (0, (13 - 20) × 0.045, 1) × 0.006, not made unit length for a flag.
    const RenderVertex& end = vertex(flag, 10, 0);
    EXPECT_NEAR(end.x, 0.0f, 1e-6);
    EXPECT_NEAR(end.y, -0.315f * 0.06f, 1e-6);
    EXPECT_NEAR(end.z, 0.06f, 1e-6);
    // Normals and texture coordinates never change.
    EXPECT_EQ(end.nx, 1.0f);
    EXPECT_FLOAT_EQ(end.u, 1.0f);
}

TEST(Flag, PennantIsPulledBackFromItsThirdColumnOn) {
    FlagHarness h;
    FlagObject& pennant = flagAt(h, h.flag(2));
    pennant.animate(200);
    const Vec3 along = normalize(Vec3{0, -0.315f, 1});
    const float step = 0.2f / 30;
    const float period = 1735;
    for (int c = 1; c <= 30; ++c) {
        const RenderVertex& bottom = vertex(pennant, c, 0);
        const RenderVertex& top = vertex(pennant, c, 1);
        // The top row follows the bottom one at the pennant's width.
        EXPECT_NEAR(length(subtract(Vec3{top.x, top.y, top.z}, Vec3{bottom.x, bottom.y, bottom.z})),
                    0.01f, 1e-6)
            << c;
        // The side and up swings are square to the strip, so only the pull-back shows along it.
        const float a = static_cast<float>(c) * 3 * 2 * std::numbers::pi_v<float> / 30 -
                        2 * std::numbers::pi_v<float> * 200 / period;
        const float pull = c > 2 ? std::sin(2 * a) * (20 - 13) * 0.00088f * c / 30 : 0.0f;
        EXPECT_NEAR(dot(Vec3{bottom.x, bottom.y, bottom.z}, along), step * c - pull, 1e-6) << c;
    }
}

}  // namespace
}  // namespace slipway
