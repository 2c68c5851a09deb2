#pragma once
// Draws the scene with the display device: keeps one set of GPU buffers per mesh (made when an
// object first shows up, all its levels at once, and again after an edit changed it; waving
// flags re-upload positions only) and one GL texture per store entry, and renders a frame: FPS
// count, view transform when the camera moved, white clear, every drawable object mesh by mesh
// with its texture, alpha test and cull mode. The model editor's current object is drawn in its
// meshes' fill colours, picked meshes red and blue-marked ones blue; the pick pass draws it in
// fill colours alone and reads the colour under a point. Needs the device's context current for
// every call but `fps`.

#include <array>
#include <cstdint>
#include <vector>

#include "base/Clock.h"
#include "base/KeyState.h"
#include "engine/Scene.h"
#include "engine/TextureStore.h"
#include "engine/ViewerRules.h"
#include "render/DisplayDevice.h"
#include "render/FpsCounter.h"

namespace slipway {

class FrameRenderer {
  public:
    FrameRenderer(DisplayDevice& device, const ViewerRules& rules, KeyState& keys, Clock& clock)
        : device_(device), rules_(rules), keys_(keys), clock_(clock) {}
    FrameRenderer(const FrameRenderer&) = delete;
    FrameRenderer& operator=(const FrameRenderer&) = delete;
    ~FrameRenderer();

    // Makes buffers for objects and meshes the GPU has not seen yet and textures for store
    // entries that are new or were refilled, and drops what a clearing or an emptied store
    // left behind. Called after loads; renderFrame calls it too.
    void upload(const Scene& scene, const TextureStore& textures);
    // Forgets every mesh buffer (the scene was cleared).
    void sceneCleared();
    // Deletes the GL textures and binds none (the store was emptied).
    void releaseTextures();
    // Frees every GL object it holds; call before the device goes.
    void release();

    // One frame into the device's back surface. Returns true when the FPS figure changed.
    bool renderFrame(Scene& scene, CameraObject& camera, const TextureStore& textures);
    std::uint32_t fps() const { return fps_; }

    // Draws the current object in its fill colours into the device's pick surface and returns
    // the 16-bit colour at (x, y) of the render area (from the top left): a mesh's fill colour,
    // or 0 for the background, a point outside the area, or no current object.
    std::uint16_t readPickColor(Scene& scene, CameraObject& camera, const TextureStore& textures,
                                int x, int y);

  private:
    struct MeshBuffers {
        const RenderVertex* vertices = nullptr;  // what the buffers were made from
        std::size_t vertexCount = 0;
        std::size_t indexCount = 0;
        GpuMesh gpu;
    };
    struct SlotBuffers {
        const SceneObject* object = nullptr;
        std::uint64_t editRevision = 0;
        std::array<std::vector<MeshBuffers>, kMaxLevels> levels;
    };

    void uploadObject(const SceneObject& object, SlotBuffers& buffers);
    void freeSlot(SlotBuffers& buffers);
    void drawObject(const SceneObject& object, SlotBuffers& buffers, const TextureStore& textures);
    // The buffers of the current level's meshes of a drawn object, or null.
    std::vector<MeshBuffers>* shownBuffers(const SceneObject& object);
    void setView(CameraObject& camera);

    DisplayDevice& device_;
    const ViewerRules& rules_;
    KeyState& keys_;
    Clock& clock_;
    FpsCounter counter_;
    std::uint32_t fps_ = 0;
    std::vector<SlotBuffers> slots_;
    std::uint64_t sceneGeneration_ = 0;
    std::vector<std::uint64_t> textureSerials_;
    std::uint64_t textureRevision_ = ~std::uint64_t{0};
    std::vector<float> scratch_;
};

}  // namespace slipway
