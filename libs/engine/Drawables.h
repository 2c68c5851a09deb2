#pragma once
// Which objects a frame draws, in slot order. Ship parts: models, sails and flags always,
// patches while P is held and cannon markers while C is held (the keyboard is asked afresh at
// every such object, whatever window has the focus). Models only: MODEL objects.

#include "base/KeyState.h"
#include "engine/Scene.h"
#include "engine/ViewerRules.h"

namespace slipway {

// Walks the drawable objects of a scene; the position is the slot last returned.
class Drawables {
  public:
    Drawables(Scene& scene, DrawFilter filter, KeyState& keys)
        : scene_(scene), filter_(filter), keys_(keys) {}

    // The first object to draw, or null when there is none.
    SceneObject* first();
    // The next object to draw after the last one returned, or null at the end.
    SceneObject* next();
    // The slot of the object last returned.
    int cursor() const { return cursor_; }

  private:
    SceneObject* searchFrom(int start);

    Scene& scene_;
    DrawFilter filter_;
    KeyState& keys_;
    int cursor_ = 0;
};

}  // namespace slipway
