#pragma once
// A placed object of the scene: a world matrix and up to four levels of detail, each a list of
// mesh parts. Also the mesh post-processing every loaded model goes through.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/Matrix4.h"
#include "engine/MeshPart.h"
#include "engine/Vec3.h"

namespace slipway {

// The kind codes; the same numbers as the ship-description record classes.
enum class ObjectKind : int {
    None = 0,
    Model = 200,
    Sail = 202,
    Cannon = 203,
    Flag = 204,
    Patch = 206,
};

inline constexpr int kMaxLevels = 4;

class SceneObject {
  public:
    SceneObject() = default;
    virtual ~SceneObject() = default;
    SceneObject(const SceneObject&) = delete;
    SceneObject& operator=(const SceneObject&) = delete;

    // Called by the idle loop with the milliseconds since the previous call; returns 1.
    virtual int animate(std::uint32_t elapsedMs);

    // The meshes of the current level (empty when the object has no level at all).
    std::vector<MeshPart>& meshes();
    const std::vector<MeshPart>& meshes() const;
    std::uint32_t meshCount() const { return static_cast<std::uint32_t>(meshes().size()); }
    // True when level `level` (0 to 3) was read.
    bool hasLevel(int level) const { return level >= 0 && level < levelCount; }
    // Makes `level` current when it exists; false and nothing changed otherwise.
    bool selectLevel(int level);

    // Bounds, then normals (when `recomputeNormals`), then the texture-coordinate shift, on
    // the current level.
    void finishMeshes(bool recomputeNormals);
    // The axis-aligned box of the current level's vertices. Without meshes nothing changes;
    // meshes without vertices give a zero box at the origin.
    void computeBounds();
    // Face normals, not averaged: a vertex ends with the normal of the last triangle using it.
    // A triangle of zero area (or non-finite corners) gives (0, 0, 0).
    void computeNormals();
    // Brings each part's largest u (and independently v) below 1 by a whole number, unless it
    // lies in -50 to 1 already.
    void shiftTexCoords();

    int slot = -1;
    ObjectKind kind = ObjectKind::None;
    bool visible = false;
    int parent = -1;
    bool matrixDirty = false;  // the camera's view transform must be handed to the device again
    Vec3 offset{};             // relative to the parent, as given to the loader
    Vec3 angles{};             // radians about X, Y and Z, as given to the loader
    Vec3 turn{};               // camera only: accumulated pitch (x) and yaw (y) from dragging
    Matrix4 world = identity();

    // Levels 0 to levelCount - 1 exist; the current one is what is drawn and measured.
    std::array<std::vector<MeshPart>, kMaxLevels> lodMeshes;
    int levelCount = 0;
    int currentLevel = 0;

    Vec3 boundsCenter{};
    Vec3 boundsSize{1, 1, 1};

    // Model files only: empty for generated parts.
    std::string fileName;  // base name of the model file, up to 64 characters
    std::string path;      // the full path it was read from

    // Model editor only.
    bool current = false;  // the object editing commands act on
    std::uint32_t keyCount = 0;
    // Changes whenever an editing command changes vertices or indices, so that a renderer
    // holding buffers for the object makes them again.
    std::uint64_t editRevision = 0;
};

// Poses a part by one key: each stored position p becomes R p + t with R = RotY·RotX·RotZ of
// the key's angles (column vectors), then x changes sign. With `turnNormals` each normal n
// becomes ((R n).x, -(R n).y, -(R n).z). Positions come from the part's key track; a part
// whose track holds fewer positions than vertices keeps the rest.
void poseByKey(MeshPart& part, const KeyRecord& key, bool turnNormals);

}  // namespace slipway
