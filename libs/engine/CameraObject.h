#pragma once
// The viewer window's camera. Its world matrix is the view transform; mouse drags turn, slide
// or zoom it.

#include "engine/SceneObject.h"

namespace slipway {

enum class DragMode : int { Rotate = 0, Slide = 1, Zoom = 2 };

class CameraObject : public SceneObject {
  public:
    CameraObject() { matrixDirty = true; }

    void beginDrag(int x, int y) {
        lastMouseX = x;
        lastMouseY = y;
    }
    // One mouse move to (x, y) in the current drag mode.
    void drag(int x, int y);

    int lastMouseX = 0;
    int lastMouseY = 0;
    DragMode dragMode = DragMode::Rotate;
};

// The camera's start: no rotation, 20 units back from the origin, view not yet handed over.
void placeStartCamera(CameraObject& camera);

}  // namespace slipway
