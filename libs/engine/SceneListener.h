#pragma once
// How the scene code tells the viewer window about loads and clears. The ship viewer's window
// handles the calls at once; the model editor's window queues them so they run after the
// command that caused them.

#include <utility>
#include <vector>

namespace slipway {

class SceneListener {
  public:
    virtual ~SceneListener() = default;
    // A model file was read. Ship viewer: (number of levels of detail, 0). Model editor: (slot of
    // the new object, its number of meshes).
    virtual void modelLoaded(int first, int second) = 0;
    virtual void sceneCleared() = 0;
};

class NullSceneListener : public SceneListener {
  public:
    void modelLoaded(int, int) override {}
    void sceneCleared() override {}
};

// Records every notification, for tests.
class RecordingSceneListener : public SceneListener {
  public:
    void modelLoaded(int first, int second) override { loads.emplace_back(first, second); }
    void sceneCleared() override { ++clears; }

    std::vector<std::pair<int, int>> loads;
    int clears = 0;
};

}  // namespace slipway
