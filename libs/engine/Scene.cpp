#include "engine/Scene.h"

#include <cmath>

namespace slipway {

Scene::Scene(ViewerForm form)
    : form_(form), objects_(static_cast<std::size_t>(sceneSlotCount(form))) {}

Scene::~Scene() = default;

SceneObject* Scene::object(int slot) const {
    if (slot < 0 || slot >= capacity())
        return nullptr;
    return objects_[static_cast<std::size_t>(slot)].get();
}

int Scene::firstFreeSlot() const {
    for (int i = 0; i < capacity(); ++i) {
        if (!objects_[static_cast<std::size_t>(i)])
            return i;
    }
    return -1;
}

int Scene::add(std::unique_ptr<SceneObject> object) {
    const int slot = firstFreeSlot();
    if (slot < 0 || !object)
        return -1;
    object->slot = slot;
    objects_[static_cast<std::size_t>(slot)] = std::move(object);
    ++objectCount_;
    return slot;
}

void Scene::clear(SceneListener& listener) {
    if (objectCount_ == 0)
        return;
    for (auto& slot : objects_)
        slot.reset();
    objectCount_ = 0;
    listener.sceneCleared();
}

void Scene::setLevel(int level) {
    if (level < 0 || level >= kMaxLevels)
        return;
    for (auto& object : objects_) {
        if (object && object->kind == ObjectKind::Model)
            object->selectLevel(level);
    }
}

SceneStatistics Scene::statistics() const {
    SceneStatistics stats;
    bool any = false;
    Vec3 lo{}, hi{};
    for (const auto& object : objects_) {
        if (!object || object->kind != ObjectKind::Model)
            continue;
        for (const MeshPart& part : object->meshes()) {
            stats.vertices += part.vertexCount();
            stats.triangles += part.indexCount() / 3;
            for (const RenderVertex& v : part.vertices) {
                if (!any) {
                    lo = hi = Vec3{v.x, v.y, v.z};
                    any = true;
                    continue;
                }
                lo = Vec3{std::fmin(lo.x, v.x), std::fmin(lo.y, v.y), std::fmin(lo.z, v.z)};
                hi = Vec3{std::fmax(hi.x, v.x), std::fmax(hi.y, v.y), std::fmax(hi.z, v.z)};
            }
        }
    }
    if (any)
        stats.size = length(subtract(hi, lo));
    return stats;
}

void Scene::fitCamera(CameraObject& camera) const {
    bool any = false;
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    int seen = 0;
    for (const auto& object : objects_) {
        if (seen >= objectCount_)
            break;
        if (!object)
            continue;
        ++seen;
        if (object->kind != ObjectKind::Model)
            continue;
        const auto c = transformPoint(object->boundsCenter, object->world);
        if (!c)
            continue;
        const float x0 = c->x - object->boundsSize.x / 2, x1 = c->x + object->boundsSize.x / 2;
        const float y0 = c->y - object->boundsSize.y / 2, y1 = c->y + object->boundsSize.y / 2;
        if (!any) {
            minX = x0;
            maxX = x1;
            minY = y0;
            maxY = y1;
            any = true;
        } else {
            minX = std::fmin(minX, x0);
            maxX = std::fmax(maxX, x1);
            minY = std::fmin(minY, y0);
            maxY = std::fmax(maxY, y1);
        }
    }
    if (!any)
        return;
    const float cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
    const float w = maxX - minX, h = maxY - minY;
    float d = h > w ? 20 * h : 40 * w;
    if (!(d >= 2.0f))
        d = 2.0f;  // also catches a NaN extent
    camera.world = identity();
    setTranslation(camera.world, Vec3{-cx, -cy, d});
    camera.matrixDirty = true;
}

void Scene::animate(std::uint32_t elapsedMs) {
    for (auto& object : objects_) {
        if (object)
            object->animate(elapsedMs);
    }
}

}  // namespace slipway
