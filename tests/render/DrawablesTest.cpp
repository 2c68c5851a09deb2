// The drawable iteration: kinds, key filters asked at every object, the cursor, both forms.

#include <memory>

#include <gtest/gtest.h>

#include "render/DisplayDevice.h"
#include "render/Drawables.h"

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

std::vector<int> drawnSlots(Scene& scene, KeyState& keys) {
    std::vector<int> drawn;
    for (SceneObject* o = firstDrawable(scene, keys); o != nullptr; o = nextDrawable(scene, keys)) {
        drawn.push_back(o->slot);
        EXPECT_EQ(scene.cursor, o->slot);
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

TEST(DrawablesTest, ShipviewTakesModelsSailsFlagsAndKeyedPatchesAndCannons) {
    Scene scene;
    addKinds(scene, {ObjectKind::Cannon, ObjectKind::Model, ObjectKind::Patch, ObjectKind::Sail,
                     ObjectKind::Flag, ObjectKind::None, ObjectKind::Cannon});
    CountingKeys keys;
    EXPECT_EQ(drawnSlots(scene, keys), (std::vector<int>{1, 3, 4}));
    // Asked afresh at every cannon and patch object.
    EXPECT_EQ(keys.asked[static_cast<int>(Key::C)], 2);
    EXPECT_EQ(keys.asked[static_cast<int>(Key::P)], 1);

    keys.held = {Key::C};
    EXPECT_EQ(drawnSlots(scene, keys), (std::vector<int>{0, 1, 3, 4, 6}));
    keys.held = {Key::P};
    EXPECT_EQ(drawnSlots(scene, keys), (std::vector<int>{1, 2, 3, 4}));
}

TEST(DrawablesTest, MeshviewTakesModelsOnlyWithoutAskingKeys) {
    Scene scene(ViewerForm::Meshview);
    addKinds(scene, {ObjectKind::Patch, ObjectKind::Model, ObjectKind::Cannon, ObjectKind::Model});
    CountingKeys keys;
    keys.held = {Key::P, Key::C};
    EXPECT_EQ(drawnSlots(scene, keys), (std::vector<int>{1, 3}));
    EXPECT_EQ(keys.asked[static_cast<int>(Key::P)] + keys.asked[static_cast<int>(Key::C)], 0);
}

TEST(DrawablesTest, EmptySceneAndCursorAtTheEndGiveNothing) {
    Scene scene;
    FixedKeyState keys;
    EXPECT_EQ(firstDrawable(scene, keys), nullptr);
    addKinds(scene, {ObjectKind::Model});
    scene.cursor = scene.capacity();
    EXPECT_EQ(nextDrawable(scene, keys), nullptr);
    scene.cursor = 0;
    EXPECT_EQ(nextDrawable(scene, keys), nullptr);
}

TEST(DisplayDeviceSetUpTest, WithoutAnOpenGlContextTheDeviceFailsWithItsMessage) {
    DisplayDevice device;
    std::string failure;
    EXPECT_FALSE(device.createDevice(100, 100, failure));
    EXPECT_EQ(failure, "Failed Create device");
    EXPECT_FALSE(device.deviceReady());
    EXPECT_FALSE(device.beginScene());
    device.releaseDevice();
}

}  // namespace
}  // namespace slipway
