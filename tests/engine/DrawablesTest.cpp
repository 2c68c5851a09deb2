// The drawable iteration: kinds, key filters asked at every object, the cursor, both filters.

#include <memory>

#include <gtest/gtest.h>

#include "engine/Drawables.h"

namespace slipway {
namespace {

// Counts how often each key is asked for.
class CountingKeys : public FixedKeyState {
  public:
    bool isDown(Key key) override {
        ++asked[static_cast<int>(key)];
        return FixedKeyState::isDown(key);
    }
    int asked[5] = {};
};

std::vector<int> drawnSlots(Scene& scene, DrawFilter filter, KeyState& keys) {
    std::vector<int> drawn;
    Drawables drawables(scene, filter, keys);
    for (SceneObject* o = drawables.first(); o != nullptr; o = drawables.next()) {
        drawn.push_back(o->slot);
        EXPECT_EQ(drawables.cursor(), o->slot);
    }
    return drawn;
}

void addKinds(Scene& scene, std::initializer_list<ObjectKind> kinds) {
    for (ObjectKind kind : kinds) {
        auto object = std::make_unique<SceneObject>();
        object->kind = kind;
        scene.add(std::move(object));
    }
}

TEST(DrawablesTest, ShipPartsAreModelsSailsFlagsAndKeyedPatchesAndCannons) {
    Scene scene;
    addKinds(scene, {ObjectKind::Cannon, ObjectKind::Model, ObjectKind::Patch, ObjectKind::Sail,
                     ObjectKind::Flag, ObjectKind::None, ObjectKind::Cannon});
    CountingKeys keys;
    EXPECT_EQ(drawnSlots(scene, DrawFilter::ShipParts, keys), (std::vector<int>{1, 3, 4}));
    // Asked afresh at every cannon and patch object.
    EXPECT_EQ(keys.asked[static_cast<int>(Key::C)], 2);
    EXPECT_EQ(keys.asked[static_cast<int>(Key::P)], 1);

    keys.held = {Key::C};
    EXPECT_EQ(drawnSlots(scene, DrawFilter::ShipParts, keys), (std::vector<int>{0, 1, 3, 4, 6}));
    keys.held = {Key::P};
    EXPECT_EQ(drawnSlots(scene, DrawFilter::ShipParts, keys), (std::vector<int>{1, 2, 3, 4}));
}

TEST(DrawablesTest, ModelsOnlyTakesModelsWithoutAskingKeys) {
    Scene scene(kMeshviewRules.sceneSlots);
    addKinds(scene, {ObjectKind::Patch, ObjectKind::Model, ObjectKind::Cannon, ObjectKind::Model});
    CountingKeys keys;
    keys.held = {Key::P, Key::C};
    EXPECT_EQ(drawnSlots(scene, DrawFilter::ModelsOnly, keys), (std::vector<int>{1, 3}));
    EXPECT_EQ(keys.asked[static_cast<int>(Key::P)] + keys.asked[static_cast<int>(Key::C)], 0);
}

TEST(DrawablesTest, EmptySceneAndTheEndGiveNothing) {
    Scene scene;
    FixedKeyState keys;
    EXPECT_EQ(Drawables(scene, DrawFilter::ShipParts, keys).first(), nullptr);
    addKinds(scene, {ObjectKind::Model});
    Drawables drawables(scene, DrawFilter::ShipParts, keys);
    EXPECT_NE(drawables.first(), nullptr);
    EXPECT_EQ(drawables.next(), nullptr);
    EXPECT_EQ(drawables.next(), nullptr);
}

}  // namespace
}  // namespace slipway
