#include "engine/Scene.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

namespace slipway {

Scene::Scene(int capacity) : objects_(static_cast<std::size_t>(capacity)) {}

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
    ++generation_;
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

std::optional<Scene::Extents> Scene::modelExtents(int slotLimit) const {
    // Worked in double so that boxes near the float range neither overflow nor mix infinities
    // into NaN; a box that is not finite even so (a NaN vertex, a width beyond the float
    // range) cannot be fitted and is left out.
    std::optional<Extents> box;
    int seen = 0;
    for (int slot = 0; slot < capacity() && slot < slotLimit; ++slot) {
        if (seen >= objectCount_)
            break;
        const SceneObject* object = objects_[static_cast<std::size_t>(slot)].get();
        if (!object)
            continue;
        ++seen;
        if (object->kind != ObjectKind::Model)
            continue;
        const auto c = transformPoint(object->boundsCenter, object->world);
        if (!c)
            continue;
        const double halfW = object->boundsSize.x / 2.0, halfH = object->boundsSize.y / 2.0;
        const double x0 = c->x - halfW, x1 = c->x + halfW;
        const double y0 = c->y - halfH, y1 = c->y + halfH;
        if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1)) {
            continue;
        }
        if (!box) {
            box = Extents{x0, x1, y0, y1};
        } else {
            box->minX = std::fmin(box->minX, x0);
            box->maxX = std::fmax(box->maxX, x1);
            box->minY = std::fmin(box->minY, y0);
            box->maxY = std::fmax(box->maxY, y1);
        }
    }
    return box;
}

namespace {

float clampedFloat(double v) {
    return static_cast<float>(
        std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

}  // namespace

void Scene::fitCamera(CameraObject& camera) const {
    const auto box = modelExtents(capacity());
    if (!box)
        return;
    const double cx = (box->minX + box->maxX) / 2, cy = (box->minY + box->maxY) / 2;
    const double w = box->maxX - box->minX, h = box->maxY - box->minY;
    double d = h > w ? 20 * h : 40 * w;
    if (d < 2.0)
        d = 2.0;
    camera.world = identity();
    setTranslation(camera.world, Vec3{clampedFloat(-cx), clampedFloat(-cy), clampedFloat(d)});
    camera.matrixDirty = true;
}

void Scene::fitCameraFrontOn(CameraObject& camera) const {
    // At most the first 64 slots are walked, whatever the table holds.
    const auto box = modelExtents(kFrontFitSlots);
    if (!box)
        return;
    const Vec3 p{clampedFloat((box->minX + box->maxX) / 2), clampedFloat((box->minY + box->maxY) / 2),
                 clampedFloat(2 * (box->maxY - box->minY))};
    // The view is the inverse of a placement turned by 3.1415 (not pi) about y and moved to p:
    // the rotation transposed, and the position turned back.
    const Matrix4 r = multiply(rotationX(0.0f), rotationY(kFrontFitTurn));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col)
            camera.world[4 * row + col] = r[4 * col + row];
    }
    for (int row = 0; row < 3; ++row) {
        const Vec3 axis{r[4 * row], r[4 * row + 1], r[4 * row + 2]};
        camera.world[12 + row] = -dot(axis, p);
    }
    camera.offset = p;
    camera.angles = Vec3{0.0f, kFrontFitTurn, 0.0f};
    camera.matrixDirty = true;
}

void Scene::animate(std::uint32_t elapsedMs) {
    for (auto& object : objects_) {
        if (object)
            object->animate(elapsedMs);
    }
}

}  // namespace slipway
