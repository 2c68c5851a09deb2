#pragma once
// How the scene code tells the viewer window about loads and clears. The ship viewer's window
// handles the calls at once; the model editor's window queues them so they run after the
// command that caused them.

#include <vector>

namespace slipway {

// What a "model file was read" notification says.
struct ModelRead {
    int slot = -1;      // the new object's slot
    int levels = 0;     // levels of detail in the file (counted as the reader counts them)
    int meshCount = 0;  // meshes of the object's current level

    bool operator==(const ModelRead&) const = default;
};

class SceneListener {
  public:
    virtual ~SceneListener() = default;
    virtual void modelLoaded(const ModelRead& read) = 0;
    virtual void sceneCleared() = 0;
};

class NullSceneListener : public SceneListener {
  public:
    void modelLoaded(const ModelRead&) override {}
    void sceneCleared() override {}
};

// Records every notification, for tests.
class RecordingSceneListener : public SceneListener {
  public:
    void modelLoaded(const ModelRead& read) override { loads.push_back(read); }
    void sceneCleared() override { ++clears; }

    std::vector<ModelRead> loads;
    int clears = 0;
};

}  // namespace slipway
