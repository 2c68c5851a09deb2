#include "render/Drawables.h"

namespace slipway {

namespace {

bool isDrawable(const SceneObject& object, ViewerForm form, KeyState& keys) {
    if (form == ViewerForm::Meshview) {
        return object.kind == ObjectKind::Model;
    }
    switch (object.kind) {
        case ObjectKind::Model:
        case ObjectKind::Sail:
        case ObjectKind::Flag:
            return true;
        case ObjectKind::Patch:
            return keys.isDown(Key::P);
        case ObjectKind::Cannon:
            return keys.isDown(Key::C);
        default:
            return false;
    }
}

SceneObject* searchFrom(Scene& scene, KeyState& keys, int start) {
    for (int slot = start; slot < scene.capacity(); ++slot) {
        SceneObject* object = scene.object(slot);
        if (object != nullptr && isDrawable(*object, scene.form(), keys)) {
            scene.cursor = slot;
            return object;
        }
    }
    return nullptr;
}

}  // namespace

SceneObject* firstDrawable(Scene& scene, KeyState& keys) {
    if (scene.objectCount() == 0) {
        return nullptr;
    }
    return searchFrom(scene, keys, 0);
}

SceneObject* nextDrawable(Scene& scene, KeyState& keys) {
    if (scene.cursor >= scene.capacity()) {
        return nullptr;
    }
    return searchFrom(scene, keys, scene.cursor + 1);
}

}  // namespace slipway
