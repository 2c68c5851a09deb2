#include "engine/CameraObject.h"

#include <algorithm>
#include <cfloat>

namespace slipway {

void placeStartCamera(CameraObject& camera) {
    camera.world = identity();
    setTranslation(camera.world, {0.0f, 0.0f, 20.0f});
    camera.matrixDirty = true;
}

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
            zoomBy(dy);
            break;
    }
    lastMouseX = x;
    lastMouseY = y;
}

void CameraObject::zoomBy(int dy) {
    // Far out, the step would pass the float range (and infinity times a still mouse is NaN);
    // the distance stops at the largest float instead.
    const double z = world[14] - dy * static_cast<double>(world[14]) / 15.0;
    world[14] = static_cast<float>(
        std::clamp(z, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
    matrixDirty = true;
}

void CameraObject::wheel(int notches) {
    zoomBy(notches * kWheelNotchPixels);
}

}  // namespace slipway
