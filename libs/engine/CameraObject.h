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
    // The zoom of a drag by `dy` pixels (down comes closer), whatever the drag mode.
    void zoomBy(int dy);
    // Mouse wheel notches (forward comes closer): each the zoom of a short drag.
    void wheel(int notches);
    static constexpr int kWheelNotchPixels = 2;

    int lastMouseX = 0;
    int lastMouseY = 0;
    DragMode dragMode = DragMode::Rotate;
};

// The camera's start: no rotation, 20 units back from the origin, view not yet handed over.
void placeStartCamera(CameraObject& camera);

}  // namespace slipway
