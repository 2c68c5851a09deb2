#pragma once
// The viewers' in-memory world: a fixed table of object slots (512 or 64 by form). The scene
// owns its objects; loaders and generators take the lowest free slot; objects never move and
// are only removed all at once by clear.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/CameraObject.h"
#include "engine/SceneListener.h"
#include "engine/SceneObject.h"
#include "engine/ViewerForm.h"

namespace slipway {

struct SceneStatistics {
    std::uint32_t vertices = 0;
    std::uint32_t triangles = 0;  // indexCount / 3 per mesh
    float size = 0;               // diagonal of the box around all vertices; 0 without any
};

class Scene {
  public:
    explicit Scene(ViewerForm form = ViewerForm::Shipview);
    ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    ViewerForm form() const { return form_; }
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
    // Every MODEL object that has `level` switches to it; others keep theirs. 4 or more: nothing.
    void setLevel(int level);
    SceneStatistics statistics() const;
    // Places the camera so that every MODEL object is in view; without any it stays as it is.
    void fitCamera(CameraObject& camera) const;
    // Calls animate on every object in slot order.
    void animate(std::uint32_t elapsedMs);

    // 1 while missing texture files are reported; the texture lookup clears it on Cancel.
    int warnMissing = 1;
    // Slot of the object last returned by the renderer's drawable iteration.
    int cursor = 0;

  private:
    ViewerForm form_;
    std::vector<std::unique_ptr<SceneObject>> objects_;
    int objectCount_ = 0;
};

}  // namespace slipway
