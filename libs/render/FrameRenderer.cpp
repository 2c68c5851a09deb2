#include "render/FrameRenderer.h"

#include "engine/Drawables.h"
#include "engine/ModelEditing.h"

namespace slipway {

namespace {

const float* floatsOf(const std::vector<RenderVertex>& vertices) {
    return reinterpret_cast<const float*>(vertices.data());
}

TexelFormat texelFormat(TexturePixelFormat format) {
    return format == TexturePixelFormat::Rgb565 ? TexelFormat::Rgb565 : TexelFormat::Argb1555;
}

}  // namespace

FrameRenderer::~FrameRenderer() = default;

void FrameRenderer::upload(const Scene& scene, const TextureStore& textures) {
    auto& gl = device_.gl();
    const auto textureSlots = static_cast<std::size_t>(textures.capacity());
    if (textureSerials_.size() != textureSlots) {
        textureSerials_.assign(textureSlots, 0);
        textureRevision_ = ~std::uint64_t{0};
    }
    // Each entry's serial tells a refilled slot apart; the store's revision saves the scan
    // when nothing changed at all.
    for (std::size_t i = 0; i < textureSlots && textures.revision() != textureRevision_; ++i) {
        const TextureEntry* entry = textures.entry(static_cast<std::uint32_t>(i));
        const std::uint64_t serial = entry != nullptr ? entry->serial : 0;
        if (serial == textureSerials_[i]) {
            continue;
        }
        textureSerials_[i] = serial;
        if (entry == nullptr) {
            device_.textures().upload(gl, i, {});
        } else {
            device_.textures().upload(
                gl, i,
                {entry->width, entry->height, texelFormat(entry->format), entry->pixels.data()});
        }
    }

    textureRevision_ = textures.revision();

    if (slots_.size() != static_cast<std::size_t>(scene.capacity()) ||
        scene.generation() != sceneGeneration_) {
        sceneCleared();
        slots_.resize(static_cast<std::size_t>(scene.capacity()));
        sceneGeneration_ = scene.generation();
    }
    for (int slot = 0; slot < scene.capacity(); ++slot) {
        const SceneObject* object = scene.object(slot);
        SlotBuffers& buffers = slots_[static_cast<std::size_t>(slot)];
        // An edit moved vertices or indices: the object's buffers are made again.
        if (object != buffers.object ||
            (object != nullptr && object->editRevision != buffers.editRevision)) {
            freeSlot(buffers);
            buffers.object = object;
            buffers.editRevision = object != nullptr ? object->editRevision : 0;
        }
        if (object != nullptr) {
            uploadObject(*object, buffers);
        }
    }
}

void FrameRenderer::uploadObject(const SceneObject& object, SlotBuffers& buffers) {
    auto& gl = device_.gl();
    for (int level = 0; level < kMaxLevels; ++level) {
        const auto& parts = object.lodMeshes[static_cast<std::size_t>(level)];
        auto& made = buffers.levels[static_cast<std::size_t>(level)];
        for (std::size_t i = parts.size(); i < made.size(); ++i) {
            destroyGpuMesh(gl, made[i].gpu);
        }
        made.resize(parts.size());
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const MeshPart& part = parts[i];
            MeshBuffers& mesh = made[i];
            if (mesh.vertices == part.vertices.data() && mesh.vertexCount == part.vertices.size() &&
                mesh.indexCount == part.indices.size()) {
                continue;
            }
            destroyGpuMesh(gl, mesh.gpu);
            mesh.vertices = part.vertices.data();
            mesh.vertexCount = part.vertices.size();
            mesh.indexCount = part.indices.size();
            mesh.gpu = createGpuMesh(gl, floatsOf(part.vertices), part.vertexCount(),
                                     part.indices.data(), part.indexCount());
        }
    }
}

void FrameRenderer::freeSlot(SlotBuffers& buffers) {
    for (auto& level : buffers.levels) {
        for (MeshBuffers& mesh : level) {
            destroyGpuMesh(device_.gl(), mesh.gpu);
        }
        level.clear();
    }
    buffers.object = nullptr;
}

void FrameRenderer::sceneCleared() {
    for (SlotBuffers& buffers : slots_) {
        freeSlot(buffers);
    }
}

void FrameRenderer::releaseTextures() {
    device_.textures().releaseAll(device_.gl());
    device_.textures().bindNone(device_.gl());
    std::fill(textureSerials_.begin(), textureSerials_.end(), 0);
    textureRevision_ = ~std::uint64_t{0};
}

void FrameRenderer::release() {
    sceneCleared();
    slots_.clear();
    device_.textures().releaseAll(device_.gl());
    textureSerials_.clear();
    textureRevision_ = ~std::uint64_t{0};
}

void FrameRenderer::setView(CameraObject& camera) {
    if (camera.matrixDirty) {
        device_.setViewTransform(camera.world);
        camera.matrixDirty = false;
    }
}

bool FrameRenderer::renderFrame(Scene& scene, CameraObject& camera, const TextureStore& textures) {
    const bool fpsChanged = counter_.countFrame(clock_.milliseconds(), fps_);
    upload(scene, textures);
    setView(camera);
    if (!device_.beginScene()) {
        return fpsChanged;
    }
    Drawables drawables(scene, rules_.drawFilter, keys_);
    for (SceneObject* object = drawables.first(); object != nullptr; object = drawables.next()) {
        if (!object->visible) {
            continue;
        }
        drawObject(*object, slots_[static_cast<std::size_t>(object->slot)], textures);
    }
    device_.endScene();
    return fpsChanged;
}

std::vector<FrameRenderer::MeshBuffers>* FrameRenderer::shownBuffers(const SceneObject& object) {
    if (object.slot < 0 || static_cast<std::size_t>(object.slot) >= slots_.size()) {
        return nullptr;
    }
    SlotBuffers& buffers = slots_[static_cast<std::size_t>(object.slot)];
    const auto level = static_cast<std::size_t>(object.currentLevel);
    if (buffers.object != &object || level >= buffers.levels.size()) {
        return nullptr;
    }
    return &buffers.levels[level];
}

void FrameRenderer::drawObject(const SceneObject& object, SlotBuffers& buffers,
                               const TextureStore& textures) {
    auto& gl = device_.gl();
    device_.setWorldTransform(object.world);
    const auto level = static_cast<std::size_t>(object.currentLevel);
    if (level >= buffers.levels.size()) {
        return;
    }
    auto& made = buffers.levels[level];
    const auto& parts = object.meshes();
    const bool perMesh = rules_.drawStatePerMesh;
    for (std::size_t i = 0; i < parts.size() && i < made.size(); ++i) {
        const MeshPart& part = parts[i];
        if (perMesh && (part.vertices.empty() || part.hidden)) {
            continue;
        }
        if (object.kind == ObjectKind::Flag) {
            // Waving moved the positions since the last frame.
            updateGpuPositions(gl, made[i].gpu, floatsOf(part.vertices), scratch_);
        }
        if (object.current) {
            // The object being edited shows its meshes' fill colours, or their marks. The fill
            // and marking textures are opaque, so the alpha test has nothing to drop.
            const int texture = part.mark == kMarkNone ? static_cast<int>(part.fillTexture)
                                : part.mark == kMarkPicked || part.mark == kMarkBlue
                                    ? textures.markingTexture(part.mark)
                                    : -1;
            device_.setAlphaTest(false);
            device_.setCullCounterClockwise(!part.doubleSided);
            if (texture >= 0) {
                device_.textures().bind(gl, static_cast<std::size_t>(texture));
            }
            device_.drawMesh(made[i].gpu);
            continue;
        }
        // Unless the rules set them for every mesh, texture, alpha test and culling stay as the
        // previous draw left them while no texture is loaded.
        if (textures.textureCount() > 0 || perMesh) {
            const TextureEntry* entry = textures.entry(part.texture);
            device_.setAlphaTest(entry != nullptr && entry->hasAlpha);
            device_.setCullCounterClockwise(!part.doubleSided);
            device_.textures().bind(gl, part.texture);
        }
        device_.drawMesh(made[i].gpu);
    }
}

std::uint16_t FrameRenderer::readPickColor(Scene& scene, CameraObject& camera,
                                           const TextureStore& textures, int x, int y) {
    if (x < 0 || y < 0 || x >= device_.width() || y >= device_.height()) {
        return 0;
    }
    upload(scene, textures);
    setView(camera);
    if (!device_.beginPickScene(x, y)) {
        return 0;
    }
    auto& gl = device_.gl();
    const SceneObject* object = currentObject(scene);
    std::vector<MeshBuffers>* made = object != nullptr ? shownBuffers(*object) : nullptr;
    if (made != nullptr && object->visible) {
        device_.setWorldTransform(object->world);
        const auto& parts = object->meshes();
        for (std::size_t i = 0; i < parts.size() && i < made->size(); ++i) {
            const MeshPart& part = parts[i];
            if (part.vertices.empty() || part.hidden) {
                continue;
            }
            device_.setCullCounterClockwise(!part.doubleSided);
            device_.textures().bind(gl, part.fillTexture);
            device_.drawMesh((*made)[i].gpu);
        }
    }
    return device_.endPickScene();
}

}  // namespace slipway
