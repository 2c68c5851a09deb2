#pragma once
// The viewers' in-memory world: a fixed table of object slots (512 or 64, by the viewer's
// rules). The scene owns its objects; loaders and generators take the lowest free slot; objects
// never move and are only removed all at once by clear.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/CameraObject.h"
#include "engine/SceneListener.h"
#include "engine/SceneObject.h"
#include "engine/ViewerRules.h"

namespace slipway {

struct SceneStatistics {
    std::uint32_t vertices = 0;
    std::uint32_t triangles = 0;  // indexCount / 3 per mesh
    float size = 0;               // diagonal of the box around all vertices; 0 without any
};

class Scene {
  public:
    explicit Scene(int capacity = kShipviewRules.sceneSlots);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    int capacity() const { return static_cast<int>(objects_.size()); }
    int objectCount() const { return objectCount_; }
    bool isFull() const { return objectCount_ >= capacity(); }

    // The object in `slot`, or null when the slot is empty or out of range.
    SceneObject* object(int slot) const;
    // The lowest empty slot, -1 when every slot is taken.
    int firstFreeSlot() const;
    // Puts `object` into the lowest empty slot, sets its `slot` and counts it. Returns the slot,
    // or -1 (the object is destroyed) when the table is full.
    int add(std::unique_ptr<SceneObject> object);

    // Destroys every object and, when there was any, tells the listener.
    void clear(SceneListener& listener);
    // Changes whenever clear removed objects, so that a renderer holding buffers for objects
    // can tell a new object from an old one at the same address.
    std::uint64_t generation() const { return generation_; }
    // Every MODEL object that has `level` switches to it; others keep theirs. 4 or more: nothing.
    void setLevel(int level);
    SceneStatistics statistics() const;
    // Places the camera so that every MODEL object is in view; without any it stays as it is.
    void fitCamera(CameraObject& camera) const;
    // Places the camera in front of the models of the first 64 slots, turned half round about
    // y, as far back as twice their height; without any model it stays as it is. Elements
    // 3, 7, 11 and 15 of the view and the camera's accumulated turn are kept.
    void fitCameraFrontOn(CameraObject& camera) const;
    // Calls animate on every object in slot order.
    void animate(std::uint32_t elapsedMs);

  private:
    struct Extents {
        double minX, maxX, minY, maxY;
    };
    static constexpr int kFrontFitSlots = 64;
    static constexpr float kFrontFitTurn = 3.1415f;

    // The x and y extents of the MODEL objects among the first `slotLimit` slots, each box
    // placed by its world matrix; nothing when there is no finite one.
    std::optional<Extents> modelExtents(int slotLimit) const;

    std::vector<std::unique_ptr<SceneObject>> objects_;
    int objectCount_ = 0;
    std::uint64_t generation_ = 0;
};

}  // namespace slipway
