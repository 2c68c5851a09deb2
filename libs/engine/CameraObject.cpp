#include "engine/CameraObject.h"

namespace slipway {

void CameraObject::drag(int x, int y) {
    const int dx = x - lastMouseX;
    const int dy = y - lastMouseY;
    matrixDirty = true;
    switch (dragMode) {
        case DragMode::Rotate: {
            turn.y += static_cast<float>(dx) * 0.03f;
            turn.x += static_cast<float>(dy) * 0.03f;
            const Vec3 t{world[12], world[13], world[14]};
            world = yawPitch(-turn.y, -turn.x);
            setTranslation(world, t);
            break;
        }
        case DragMode::Slide:
            world[12] += static_cast<float>(dx) / 100.0f;
            world[13] -= static_cast<float>(dy) / 100.0f;
            break;
        case DragMode::Zoom:
            world[14] -= static_cast<float>(dy) * world[14] / 15.0f;
            break;
    }
    lastMouseX = x;
    lastMouseY = y;
}

}  // namespace slipway
