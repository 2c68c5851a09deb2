#pragma once
// Which objects a frame draws. Ship viewer: models, sails and flags always, patches while P is
// held and cannon markers while C is held (the keyboard is asked afresh at every such object,
// whatever window has the focus). Model editor: models only. The position is kept in the
// scene's cursor.

#include "base/KeyState.h"
#include "engine/Scene.h"

namespace slipway {

// The first object to draw, or null when there is none.
SceneObject* firstDrawable(Scene& scene, KeyState& keys);
// The next object to draw after the scene's cursor, or null at the end.
SceneObject* nextDrawable(Scene& scene, KeyState& keys);

}  // namespace slipway
