#include "engine/ModelEditing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace slipway {

namespace {

SceneObject* editorObject(const Scene& scene, int slot) {
    if (slot < 0 || slot >= kEditorSlots)
        return nullptr;
    return scene.object(slot);
}

// Calls `visit(object, number)` for the occupied slots from 0, stopping at the first empty
// slot or once every object has been seen.
template <typename Visit>
void walkObjects(Scene& scene, Visit visit) {
    int seen = 0;
    for (int slot = 0; slot < scene.capacity() && seen < scene.objectCount(); ++slot) {
        SceneObject* object = scene.object(slot);
        if (object == nullptr)
            break;
        visit(*object, seen);
        ++seen;
    }
}

template <typename Edit>
void editPicked(Scene& scene, Edit edit) {
    SceneObject* object = currentObject(scene);
    if (object == nullptr)
        return;
    bool changed = false;
    for (MeshPart& part : object->meshes()) {
        if (part.mark == kMarkPicked) {
            changed = edit(part) || changed;
        }
    }
    if (changed)
        ++object->editRevision;
}

}  // namespace

std::optional<std::string> meshNameAt(const Scene& scene, int slot, int index) {
    const SceneObject* object = editorObject(scene, slot);
    if (object == nullptr || index < 0 || static_cast<std::uint32_t>(index) >= object->meshCount())
        return std::nullopt;
    return object->meshes()[static_cast<std::size_t>(index)].name;
}

std::optional<std::uint32_t> objectKeyCount(const Scene& scene, int slot) {
    const SceneObject* object = editorObject(scene, slot);
    if (object == nullptr)
        return std::nullopt;
    return object->keyCount;
}

SceneObject* currentObject(const Scene& scene) {
    for (int slot = 0; slot < scene.capacity(); ++slot) {
        SceneObject* object = scene.object(slot);
        if (object != nullptr && object->current)
            return object;
    }
    return nullptr;
}

void makeCurrent(Scene& scene, int index) {
    if (index < 0 || index >= scene.objectCount())
        return;
    walkObjects(scene, [index](SceneObject& object, int number) {
        object.current = number == index;
        object.visible = number == index;
    });
}

void releaseCurrent(Scene& scene) {
    walkObjects(scene, [](SceneObject& object, int) {
        object.current = false;
        object.visible = true;
    });
}

void clearMarks(Scene& scene, int mark) {
    SceneObject* object = currentObject(scene);
    if (object == nullptr)
        return;
    for (MeshPart& part : object->meshes()) {
        if (!part.hidden && part.mark == mark)
            part.mark = kMarkNone;
    }
}

std::optional<PickedMesh> pickMesh(Scene& scene, std::uint32_t color, int mark) {
    SceneObject* object = currentObject(scene);
    if (color == 0 || object == nullptr)
        return std::nullopt;
    std::vector<MeshPart>& parts = object->meshes();
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (parts[i].fillColor == color) {
            parts[i].mark = mark;
            return PickedMesh{static_cast<int>(i), parts[i].name};
        }
    }
    return std::nullopt;
}

bool markMesh(Scene& scene, int index) {
    SceneObject* object = currentObject(scene);
    if (object == nullptr || index < 0 || static_cast<std::uint32_t>(index) >= object->meshCount())
        return false;
    clearMarks(scene, kMarkPicked);
    object->meshes()[static_cast<std::size_t>(index)].mark = kMarkPicked;
    return true;
}

void renameMesh(Scene& scene, int index, std::string_view name) {
    SceneObject* object = currentObject(scene);
    if (object == nullptr || index < 0 || static_cast<std::uint32_t>(index) >= object->meshCount())
        return;
    object->meshes()[static_cast<std::size_t>(index)].name =
        std::string(name.substr(0, kMeshNameLimit));
}

void toggleDoubleSided(Scene& scene) {
    editPicked(scene, [](MeshPart& part) {
        part.doubleSided = !part.doubleSided;
        return false;  // drawing state only; the buffers stay
    });
}

void reverseWinding(Scene& scene) {
    editPicked(scene, [](MeshPart& part) {
        const std::size_t triangles = part.indices.size() / 3;
        for (std::size_t t = 0; t < triangles; ++t)
            std::swap(part.indices[3 * t + 1], part.indices[3 * t + 2]);
        return triangles > 0;
    });
}

bool setFrame(Scene& scene, int frame) {
    SceneObject* object = scene.object(0);
    if (object == nullptr || frame < 0 || static_cast<std::uint32_t>(frame) >= object->keyCount)
        return false;
    for (MeshPart& part : object->meshes()) {
        const std::vector<KeyRecord>& keys = part.keyTrack.keys;
        if (keys.empty())
            continue;
        // A mesh with fewer keys than the object holds its last pose, as its saved file does.
        const std::size_t key = std::min(static_cast<std::size_t>(frame), keys.size() - 1);
        poseByKey(part, keys[key], false);
    }
    ++object->editRevision;
    return true;
}

float measureHeight(const Scene& scene) {
    bool any = false;
    float lo = 0, hi = 0;
    for (int slot = 0; slot < kEditorSlots; ++slot) {
        const SceneObject* object = scene.object(slot);
        if (object == nullptr || object->kind != ObjectKind::Model)
            continue;
        for (const MeshPart& part : object->meshes()) {
            for (const RenderVertex& v : part.vertices) {
                if (!any) {
                    lo = hi = v.y;
                    any = true;
                } else {
                    lo = std::fmin(lo, v.y);
                    hi = std::fmax(hi, v.y);
                }
            }
        }
    }
    return any ? hi - lo : 0.0f;
}

bool scaleModel(Scene& scene, float factor) {
    SceneObject* object = scene.object(0);
    if (object == nullptr || !std::isfinite(factor))
        return false;
    std::vector<MeshPart>& parts = object->meshes();
    const auto keysScaled = [object](const MeshPart& part) {
        return std::min<std::size_t>(object->keyCount, part.keyTrack.keys.size());
    };
    // Checked before anything changes, so a refused factor leaves the model whole.
    float largest = 0;
    const auto widen = [&largest](float a, float b, float c) {
        largest =
            std::fmax(largest, std::fmax(std::fabs(a), std::fmax(std::fabs(b), std::fabs(c))));
    };
    for (const MeshPart& part : parts) {
        for (const RenderVertex& v : part.vertices)
            widen(v.x, v.y, v.z);
        for (const Vec3& p : part.keyTrack.positions)
            widen(p.x, p.y, p.z);
        for (std::size_t k = 0; k < keysScaled(part); ++k) {
            const KeyRecord& key = part.keyTrack.keys[k];
            widen(key.tx, key.ty, key.tz);
        }
    }
    if (std::fabs(factor) > 1 && largest > FLT_MAX / std::fabs(factor))
        return false;

    for (MeshPart& part : parts) {
        for (RenderVertex& v : part.vertices) {
            v.x *= factor;
            v.y *= factor;
            v.z *= factor;
        }
        for (Vec3& p : part.keyTrack.positions)
            p = scaleBy(p, factor);
        for (std::size_t k = 0; k < keysScaled(part); ++k) {
            KeyRecord& key = part.keyTrack.keys[k];
            key.tx *= factor;
            key.ty *= factor;
            key.tz *= factor;
        }
    }
    object->computeBounds();
    ++object->editRevision;
    return true;
}

}  // namespace slipway
