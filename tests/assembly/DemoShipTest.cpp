// The demo ship loads without a single message, in both viewers, with every part where its
// description puts it.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "SceneHarness.h"
#include "TestFiles.h"
#include "engine/FlagObject.h"
#include "engine/ShipAssembly.h"
#include "formats/DefFile.h"
#include "make-demo-ship/DemoShip.h"

namespace slipway {
namespace {

using test::SceneHarness;

// A harness whose start-up directory is the demo's, as when a viewer is started there.
struct DemoHarness : SceneHarness {
    explicit DemoHarness(const ViewerRules& rules = kShipviewRules) : SceneHarness(rules) {
        EXPECT_TRUE(demo::writeDemoShip(dir.path()));
        const auto def = readDefFile(defPath());
        EXPECT_TRUE(def);
        if (def)
            records = def->records;
    }
    std::string defPath() const { return dir.file(demo::kDemoDefFile); }
    int assemble() { return assembleShip(scene, defPath(), services(), &slots); }

    // The offsets of a record and of the records its Links lead to, added up.
    Vec3 chainedOffset(std::size_t index) const {
        Vec3 sum{};
        for (std::size_t i = index;;) {
            const DefRecord& r = records[i];
            sum = add(sum, Vec3{r.X, r.Y, r.Z});
            if (r.Link < 0)
                return sum;
            i = static_cast<std::size_t>(r.Link);
        }
    }

    std::vector<DefRecord> records;
    std::vector<int> slots;
};

Vec3 translation(const SceneObject& o) {
    return {o.world[12], o.world[13], o.world[14]};
}

TEST(DemoShip, ShipViewerBuildsEveryPartSilently) {
    DemoHarness h;
    EXPECT_EQ(h.assemble(), 1);
    EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{});
    ASSERT_EQ(h.slots.size(), h.records.size());

    std::map<ObjectKind, int> kinds;
    for (int slot = 0; slot < h.scene.capacity(); ++slot) {
        const SceneObject* o = h.scene.object(slot);
        if (!o)
            continue;
        ++kinds[o->kind];
        for (int level = 0; level < o->levelCount; ++level) {
            for (const MeshPart& part : o->lodMeshes[static_cast<std::size_t>(level)]) {
                EXPECT_GT(part.indexCount(), 0u) << "slot " << slot;
                for (const RenderVertex& v : part.vertices) {
                    ASSERT_TRUE(std::isfinite(v.x + v.y + v.z + v.nx + v.ny + v.nz + v.u + v.v))
                        << "slot " << slot << " level " << level;
                }
            }
        }
    }
    EXPECT_EQ(kinds[ObjectKind::Model], 9);
    EXPECT_EQ(kinds[ObjectKind::Sail], 6);
    EXPECT_EQ(kinds[ObjectKind::Cannon], 8);
    EXPECT_EQ(kinds[ObjectKind::Patch], 1);
    EXPECT_EQ(kinds[ObjectKind::Flag], 3);

    bool rotatedSpar = false;
    for (std::size_t i = 0; i < h.records.size(); ++i) {
        const DefRecord& r = h.records[i];
        if (r.Class == 204) {
            EXPECT_EQ(h.slots[i], -1);
            continue;
        }
        ASSERT_GE(h.slots[i], 0) << "record " << i;
        const SceneObject& o = *h.scene.object(h.slots[i]);
        const int parent = r.Link < 0 ? -1 : h.slots[static_cast<std::size_t>(r.Link)];
        EXPECT_EQ(o.parent, parent) << "record " << i;
        const Vec3 expected = h.chainedOffset(i);
        const Vec3 actual = translation(o);
        EXPECT_NEAR(actual.x, expected.x, 1e-5) << "record " << i;
        EXPECT_NEAR(actual.y, expected.y, 1e-5) << "record " << i;
        EXPECT_NEAR(actual.z, expected.z, 1e-5) << "record " << i;
        if (r.Ay != 0) {
            // A yard turned a quarter about Y runs across the ship.
            EXPECT_NEAR(std::abs(o.world[2]), 1.0f, 1e-5) << "record " << i;
            rotatedSpar = true;
        }
    }
    EXPECT_TRUE(rotatedSpar);

    // Flags hang at their masts' tops; they take slots in the order of their records.
    std::vector<const FlagObject*> flags;
    for (int slot = 0; slot < h.scene.capacity(); ++slot) {
        if (const auto* flag = dynamic_cast<const FlagObject*>(h.scene.object(slot))) {
            flags.push_back(flag);
        }
    }
    ASSERT_EQ(flags.size(), 3u);
    std::size_t next = 0;
    for (std::size_t i = 0; i < h.records.size(); ++i) {
        if (h.records[i].Class != 204)
            continue;
        const FlagObject& flag = *flags.at(next++);
        EXPECT_EQ(flag.flagStyle, h.records[i].Type);
        EXPECT_EQ(flag.parent, h.slots[static_cast<std::size_t>(h.records[i].Link)]);
        const Vec3 at = translation(flag);
        const Vec3 expected = h.chainedOffset(i);
        EXPECT_NEAR(at.x, expected.x, 1e-5);
        EXPECT_NEAR(at.y, expected.y, 1e-5);
        EXPECT_NEAR(at.z, expected.z, 1e-5);
    }

    const SceneObject& hull = *h.scene.object(h.slots[0]);
    EXPECT_EQ(hull.levelCount, 3);
    EXPECT_EQ(h.listener.loads.front().levels, 3);
    for (const char* name : {"Parusa_english", "Parusa_english_prost", "Karav_flag", "Karav_vimpel",
                             "hull_planks", "deck", "wood"}) {
        const TextureEntry* entry = h.textures.entry(h.textures.textureIndex(name));
        ASSERT_NE(entry, nullptr) << name;
        EXPECT_EQ(entry->name, name);
    }
    EXPECT_TRUE(h.textures.entry(h.textures.textureIndex("Karav_vimpel"))->hasAlpha);

    // One painted sail, and one sail that carries a stored mesh.
    int painted = 0, rigged = 0;
    for (std::size_t i = 0; i < h.records.size(); ++i) {
        if (h.records[i].Class != 202)
            continue;
        const SceneObject& sail = *h.scene.object(h.slots[i]);
        if (sail.meshes()[0].texture == h.textures.textureIndex("Parusa_english"))
            ++painted;
        if (sail.meshCount() > 1)
            ++rigged;
    }
    EXPECT_EQ(painted, 1);
    EXPECT_EQ(rigged, 1);
}

TEST(DemoShip, RecomputedNormalsFaceOutwards) {
    DemoHarness h;
    ASSERT_EQ(h.assemble(), 1);
    // The hull's planking and a mast, after the ship viewer has recomputed their normals from
    // the winding: nearly every vertex's normal points away from the part's centre.
    for (int slot : {h.slots[0], h.slots[1]}) {
        const MeshPart& part = h.scene.object(slot)->meshes()[0];
        Vec3 centre{};
        for (const RenderVertex& v : part.vertices)
            centre = add(centre, Vec3{v.x, v.y, v.z});
        centre = scaleBy(centre, 1.0f / static_cast<float>(part.vertexCount()));
        std::size_t outward = 0;
        for (const RenderVertex& v : part.vertices) {
            const Vec3 out = subtract(Vec3{v.x, v.y, v.z}, centre);
            if (dot(out, Vec3{v.nx, v.ny, v.nz}) > 0)
                ++outward;
        }
        EXPECT_GT(outward, part.vertexCount() * 9 / 10) << "slot " << slot;
    }
}

TEST(DemoShip, ModelEditorLoadsTheModelsSilently) {
    DemoHarness h(kMeshviewRules);
    EXPECT_EQ(h.assemble(), 1);
    EXPECT_EQ(h.prompt.texts(), std::vector<std::string>{});
    EXPECT_EQ(h.scene.objectCount(), 9);
}

TEST(DemoShip, BuildTreeHoldsTheCurrentDemo) {
    // The build writes the demo with the same generator; it must match a fresh one file for file.
    test::TempDir fresh;
    ASSERT_TRUE(demo::writeDemoShip(fresh.path()));
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fresh.path())) {
        const std::string name = entry.path().filename().string();
        const std::string built = std::string(SLIPWAY_DEMO_DIR) + "/" + name;
        ASSERT_TRUE(std::filesystem::exists(built)) << name;
        EXPECT_EQ(test::readBytes(built), test::readBytes(entry.path().string())) << name;
        ++files;
    }
    EXPECT_GE(files, 10u);
}

}  // namespace
}  // namespace slipway
