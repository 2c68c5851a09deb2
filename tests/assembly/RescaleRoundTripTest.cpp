// Load, rescale, load again: for every kind of model and sail file the viewers read, each
// position they show afterwards is the one they showed before, multiplied by the factor.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ModelFixtures.h"
#include "SceneHarness.h"
#include "engine/Sail.h"
#include "formats/FileRescaling.h"

namespace slipway {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::SceneHarness;

enum class Kind { Clf, Cff, Sail };

struct Fixture {
    const char* what;
    Kind kind;
    const ViewerRules* rules;
    Bytes bytes;
    std::vector<std::int32_t> sails;  // the sail indices to build (sail files only)
};

ClfModel withKeys(ClfModel model, std::uint32_t version) {
    model.version = version;
    model.keysPerObject = 2;
    for (auto& level : model.levels) {
        for (ClfObject& object : level)
            object.keys = {KeyRecord{1, 2, 3, 0.5f, 0, 0, 7}, KeyRecord{-1, 0, 4, 0, 0, 0, 8}};
    }
    return model;
}

// Two objects on level 0 (the second one starts after the first one's key records, if any) and
// a second level.
ClfModel clfShip() {
    ClfModel model = test::clfSquare("hull");
    model.textureNames = {"hull.tga"};
    model.levels[0].push_back(test::clfCube("deck"));
    model.levels.push_back({test::clfCube("low")});
    return model;
}

// More levels than the scene holds, the last one cut short: the readers take the first four.
Bytes tooManyLevels(Bytes bytes) {
    bytes.resize(bytes.size() - 10);
    return bytes;
}

ClfModel clfSixLevels() {
    ClfModel model = test::clfSquare();
    for (int i = 0; i < 5; ++i)
        model.levels.push_back({test::clfCube()});
    return model;
}

CffModel cffShip(int levels) {
    CffObject keyed = test::cffFan(6, "mast");
    keyed.keys = {KeyRecord{0, 0, 0, 0, 0, 0.5f, 1}, KeyRecord{}};
    CffModel model = test::cffModel({keyed, test::cffFan(300, "hull")});
    model.header.origin[0] = 3, model.header.origin[1] = -2, model.header.origin[2] = 1;
    model.header.scale[1] = 4;
    model.textureNames = {"wood.tga"};
    model.textureRecords.resize(1);
    model.textureRecords[0].extra.resize(2);
    while (static_cast<int>(model.levels.size()) < levels)
        model.levels.push_back(CffLevel{0, {test::cffFan(4, "lod")}});
    return model;
}

Bytes sailFile(bool trailingBytes) {
    Bytes bytes =
        writeSailFile(std::vector<SailEntry>{test::sailEntry(2, 1), test::sailEntry(5, 2)});
    if (trailingBytes)
        bytes.insert(bytes.end(), {0x10, 0x20, 0x30, 0x00, 0xFF, 0x7F, 0x01});
    return bytes;
}

std::vector<Fixture> fixtures() {
    const ViewerRules* ship = &kShipviewRules;
    const ViewerRules* editor = &kMeshviewRules;
    return {
        {"CLF version 0", Kind::Clf, ship, writeClf(clfShip()), {}},
        {"CLF version 0, model editor", Kind::Clf, editor, writeClf(clfShip()), {}},
        {"CLF of another version with key records",
         Kind::Clf,
         ship,
         writeClf(withKeys(clfShip(), 0x10000)),
         {}},
        {"CLF of the edited form with key records",
         Kind::Clf,
         editor,
         writeClf(withKeys(clfShip(), kClfEditedVersion)),
         {}},
        {"CLF announcing six levels", Kind::Clf, ship, tooManyLevels(writeClf(clfSixLevels())), {}},
        {"CFF with two levels", Kind::Cff, ship, writeCff(cffShip(2)), {}},
        {"CFF with two levels, model editor", Kind::Cff, editor, writeCff(cffShip(2)), {}},
        {"CFF announcing six levels", Kind::Cff, ship, tooManyLevels(writeCff(cffShip(6))), {}},
        {"sail file", Kind::Sail, ship, sailFile(false), {2, 5}},
        {"sail file with trailing bytes", Kind::Sail, ship, sailFile(true), {2, 5}},
    };
}

// Every position the viewer holds for what `fixture` loads: each level's vertices, or for the
// model editor the positions as read (its parts are shown posed by their first key).
std::vector<Vec3> loadPositions(const Fixture& fixture, const Bytes& bytes) {
    SceneHarness h(*fixture.rules);
    std::vector<int> slots;
    if (fixture.kind == Kind::Clf)
        slots.push_back(h.clf(bytes));
    if (fixture.kind == Kind::Cff)
        slots.push_back(h.cff(bytes));
    for (std::int32_t sail : fixture.sails)
        slots.push_back(makeSailFromBytes(h.scene, bytes, sail, 0, {}, h.services()));
    std::vector<Vec3> positions;
    for (int slot : slots) {
        const SceneObject* object = h.scene.object(slot);
        if (!object) {
            ADD_FAILURE() << fixture.what << ": not loaded";
            return {};
        }
        for (int level = 0; level < object->levelCount; ++level) {
            for (const MeshPart& part : object->lodMeshes[static_cast<std::size_t>(level)]) {
                if (fixture.rules->keepsEditData && fixture.kind != Kind::Sail) {
                    positions.insert(positions.end(), part.keyTrack.positions.begin(),
                                     part.keyTrack.positions.end());
                    continue;
                }
                for (const RenderVertex& v : part.vertices)
                    positions.push_back(Vec3{v.x, v.y, v.z});
            }
        }
    }
    return positions;
}

std::optional<Bytes> rescaled(const Fixture& fixture, float factor) {
    switch (fixture.kind) {
        case Kind::Clf:
            return rescaledClf(fixture.bytes, factor);
        case Kind::Cff:
            return rescaledCff(fixture.bytes, factor);
        case Kind::Sail:
            return rescaledSailFile(fixture.bytes, factor);
    }
    return std::nullopt;
}

void expectMovedByFactor(const Fixture& fixture, float factor) {
    const std::vector<Vec3> before = loadPositions(fixture, fixture.bytes);
    const auto scaled = rescaled(fixture, factor);
    ASSERT_TRUE(scaled) << "refused";
    EXPECT_EQ(scaled->size(), fixture.bytes.size());
    const std::vector<Vec3> after = loadPositions(fixture, *scaled);
    ASSERT_EQ(after.size(), before.size());
    ASSERT_TRUE(std::any_of(before.begin(), before.end(),
                            [](const Vec3& p) { return p.x != 0 || p.y != 0 || p.z != 0; }));
    for (std::size_t i = 0; i < before.size(); ++i) {
        const float want[3] = {before[i].x * factor, before[i].y * factor, before[i].z * factor};
        const float got[3] = {after[i].x, after[i].y, after[i].z};
        for (int c = 0; c < 3; ++c) {
            const float tolerance = 1e-5f * std::max(1.0f, std::fabs(want[c]));
            ASSERT_NEAR(got[c], want[c], tolerance) << "vertex " << i << " axis " << c;
        }
    }
}

TEST(RescaleRoundTrip, EveryVertexMovesByTheFactor) {
    for (const Fixture& fixture : fixtures()) {
        SCOPED_TRACE(fixture.what);
        expectMovedByFactor(fixture, 2.5f);
    }
}

}  // namespace
}  // namespace slipway
