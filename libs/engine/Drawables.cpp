#include "engine/Drawables.h"

namespace slipway {

namespace {

bool isDrawable(const SceneObject& object, DrawFilter filter, KeyState& keys) {
    if (filter == DrawFilter::ModelsOnly) {
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

}  // namespace

SceneObject* Drawables::searchFrom(int start) {
    for (int slot = start; slot < scene_.capacity(); ++slot) {
        SceneObject* object = scene_.object(slot);
        if (object != nullptr && isDrawable(*object, filter_, keys_)) {
            cursor_ = slot;
            return object;
        }
    }
    cursor_ = scene_.capacity();
    return nullptr;
}

SceneObject* Drawables::first() {
    if (scene_.objectCount() == 0) {
        return nullptr;
    }
    return searchFrom(0);
}

SceneObject* Drawables::next() {
    if (cursor_ >= scene_.capacity()) {
        return nullptr;
    }
    return searchFrom(cursor_ + 1);
}

}  // namespace slipway
