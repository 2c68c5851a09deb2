#pragma once
// What a viewer has open and how it opens, clears and rescales it. The session owns the scene,
// the texture store, the search paths (with Dialog.ini), the camera, the viewer's rules and the
// "warn about missing textures" state; the window, the headless modes and the tests all open
// files through it, so there is one open sequence. Each command returns a small plain result
// that says what the window must show; messages have already gone through the prompt port.

#include <cstdint>
#include <string>

#include "base/Clock.h"
#include "base/DebugTrace.h"
#include "base/UserPrompt.h"
#include "engine/CameraObject.h"
#include "engine/ModelFileKind.h"
#include "engine/ModelLoader.h"
#include "engine/Scene.h"
#include "engine/SceneListener.h"
#include "engine/SearchPaths.h"
#include "engine/TextureStore.h"
#include "engine/ViewerRules.h"

namespace slipway {

// Ambient light after an open, by whether any texture is loaded.
inline constexpr std::uint32_t kAmbientUntextured = 0x0F7F7F7F;
inline constexpr std::uint32_t kAmbientTextured = 0x0FFFFFFF;

// The sizes a resize accepts, and the difference below which it does nothing.
inline constexpr float kMinModelSize = 0.01f;
inline constexpr float kMaxModelSize = 100.0f;
inline constexpr float kSameSizeTolerance = 0.00001f;
inline constexpr const char* kSizeRangeText = "Enter a number between 0.01 and 100.";

// Whether an open is remembered in Dialog.ini's recent list and directory.
enum class RecentList { Update, Keep };

struct OpenResult {
    // The open ran to its end: the ambient light, the caption and the camera were set. False
    // when there was nothing to open (a recent entry that is missing or has no extension).
    bool finished = false;
    int modelsRead = 0;     // model files read (one "model file was read" notification each)
    int levels = 0;         // the most levels of detail of any model file read
    int messages = 0;       // messages shown through the prompt port during the open
    std::uint32_t ambient = kAmbientUntextured;
    std::string caption;    // "Kelvo : name.ext"; empty when the caption stays
    bool recentChanged = false;
    SceneStatistics statistics;  // of the level shown, after the open
};

struct ResizeResult {
    enum Outcome {
        Refused,    // the size is out of range or nothing is open; `message` says why
        Unchanged,  // the size is the current one (or the models have no extent)
        Rescaled,   // the files were rescaled (as far as they could be) and read again
    };
    Outcome outcome = Refused;
    std::string message;
    float ratio = 1.0f;
    bool filesRewritten = false;  // the open file itself was rewritten
    int modelsRead = 0;
    int levels = 0;
    int messages = 0;
    SceneStatistics statistics;  // after the reload
};

class ViewerSession {
  public:
    // `baseDirectory` is the home of Dialog.ini. Until ports are attached, messages are
    // printed to stderr and answered OK/Yes, and notifications go nowhere.
    ViewerSession(const ViewerRules& rules, std::string baseDirectory, Clock& clock);
    ViewerSession(const ViewerSession&) = delete;
    ViewerSession& operator=(const ViewerSession&) = delete;

    const ViewerRules& rules() const { return rules_; }
    Scene& scene() { return scene_; }
    const Scene& scene() const { return scene_; }
    TextureStore& textures() { return textures_; }
    const TextureStore& textures() const { return textures_; }
    const SearchPaths& searchPaths() const { return paths_; }
    CameraObject& camera() { return camera_; }
    Clock& clock() { return clock_; }
    int warnMissing() const { return warnMissing_; }
    const std::string& currentPath() const { return currentPath_; }
    ModelFileKind currentKind() const { return currentKind_; }
    // The ambient light the last finished open chose.
    std::uint32_t ambient() const { return ambient_; }

    // Ports; null restores the default. The session keeps the pointers: detach before the
    // port goes.
    void setPrompt(UserPrompt* prompt);
    void setListener(SceneListener* listener);
    void setTrace(DebugTrace* trace);
    // What the model readers need, wired to this session.
    ModelServices services();

    // The first step of every open command: warnings on again, the scene and the textures
    // emptied.
    void clear();
    // Clears, reads `path` as `kind`, sets the ambient light, remembers the file (unless told
    // to keep the recent list as it is), names the caption and aims the camera. The reader
    // reports its own failures; the open goes on whatever the outcome.
    OpenResult open(ModelFileKind kind, const std::string& path,
                    RecentList recent = RecentList::Update);
    // Opens entry `index` (0 to 3) of the recent list by its extension, without changing the
    // list. An entry with another extension reads nothing but still sets caption and camera.
    OpenResult openRecent(int index);
    // Rescales the open file on disk (a ship with every file it names) so that the models'
    // size becomes `newSize`, then reads it again into the cleared scene and aims the camera.
    // The textures, the ambient light, the caption and the recent list stay.
    ResizeResult resize(float newSize);

    // Aims the camera at the models by the rules' camera fit.
    void fitCamera();
    // Puts the camera back where an open leaves it: no turn, then aimed at the models.
    void resetView();
    // One idle step of `elapsedMs`: animates every object when the rules animate.
    void animate(std::uint32_t elapsedMs);
    // The size a resize divides by: the models' size measured after the last read.
    float openedSize() const { return openedSize_; }

  private:
    // Counts what the readers report during one command and passes it on to the ports.
    class CountingPrompt : public UserPrompt {
      public:
        PromptAnswer show(std::string_view text, PromptButtons buttons) override;
        UserPrompt* target = nullptr;
        int count = 0;
    };
    class CountingListener : public SceneListener {
      public:
        void modelLoaded(const ModelRead& read) override;
        void sceneCleared() override;
        SceneListener* target = nullptr;
        int reads = 0;
        int levels = 0;
    };

    int read(ModelFileKind kind, const std::string& path);
    // The steps after a read: ambient light, caption, camera, size, and the counts.
    OpenResult finishOpen(const std::string& path);
    void startCounting();
    void measure();

    const ViewerRules& rules_;
    Clock& clock_;
    Scene scene_;
    TextureStore textures_;
    SearchPaths paths_;
    CameraObject camera_;
    int warnMissing_ = 1;
    std::string currentPath_;
    ModelFileKind currentKind_ = ModelFileKind::Clf;
    std::uint32_t ambient_ = kAmbientTextured;
    float openedSize_ = 0.0f;

    HeadlessPrompt defaultPrompt_;
    NullSceneListener defaultListener_;
    StderrTrace defaultTrace_;
    CountingPrompt prompt_;
    CountingListener listener_;
    DebugTrace* trace_ = &defaultTrace_;
};

}  // namespace slipway
