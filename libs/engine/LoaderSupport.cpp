#include "engine/LoaderSupport.h"

#include "base/FileIo.h"
#include "base/Format.h"
#include "base/Paths.h"

namespace slipway::loader {

namespace {
constexpr std::size_t kFileNameLimit = 64;
constexpr std::size_t kPathLimit = 256;
}  // namespace

bool checkRoomAndParent(const Scene& scene, const Placement& placement, UserPrompt& prompt) {
    if (scene.isFull()) {
        tell(prompt, kTooManyObjectsText);
        return false;
    }
    if (placement.parent != -1 && (placement.parent < 0 || placement.parent >= scene.capacity())) {
        tell(prompt, kBadParentText);
        return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> readModelFile(const std::string& path,
                                                       UserPrompt& prompt) {
    auto bytes = readFileBytes(path);
    if (!bytes)
        tell(prompt, formatText(kCantOpenModelText, path.c_str()));
    return bytes;
}

int loadModelFile(Scene& scene, const std::string& path, const Placement& placement,
                  const ModelServices& services, BytesLoader load) {
    if (!checkRoomAndParent(scene, placement, services.prompt))
        return -1;
    const auto bytes = readModelFile(path, services.prompt);
    if (!bytes)
        return -1;
    return load(scene, *bytes, path, placement, services);
}

int refuseDamaged(const std::string& path, UserPrompt& prompt) {
    tell(prompt, formatText(kDamagedModelText, path.c_str()));
    return -1;
}

void loadNamedTexture(const std::string& name, const ModelServices& services,
                      const std::string& filePath) {
    std::string file = name;
    const std::string fileFolder = filePath.empty() ? std::string() : directoryOf(filePath);
    if (services.searchPaths.findTexture(file, services.warnMissing, services.prompt,
                                         {fileFolder, services.shipFolder})) {
        services.textures.loadTexture(file, services.trace);
    }
}

void loadNamedTextures(const std::vector<std::string>& names, const std::string& filePath,
                       const ModelServices& services) {
    for (const std::string& name : names)
        loadNamedTexture(name, services, filePath);
}

std::uint32_t textureFor(const std::vector<std::string>& names, std::uint64_t index,
                         const TextureStore& textures) {
    const std::string name = index < names.size() ? names[index] : std::string();
    return textures.textureIndex(baseName(name));
}

std::string textureNameFor(const std::vector<std::string>& names, std::uint64_t index) {
    std::string name = index < names.size() ? baseName(names[index]) : std::string();
    return name.substr(0, TextureStore::kNameWidth);
}

std::unique_ptr<SceneObject> newModel(const Placement& placement, const std::string& path) {
    auto object = std::make_unique<SceneObject>();
    object->kind = ObjectKind::Model;
    object->visible = true;
    object->parent = placement.parent;
    object->offset = placement.offset;
    object->angles = placement.angles;
    // Both viewers name their objects: the editor shows the names, exports write them.
    object->fileName = baseName(path).substr(0, kFileNameLimit);
    object->path = path.substr(0, kPathLimit);
    return object;
}

Vec3 placedTranslation(const Scene& scene, const Placement& placement, bool& parentFound) {
    parentFound = false;
    if (placement.parent == -1)
        return placement.offset;
    const SceneObject* parent = scene.object(placement.parent);
    if (!parent)
        return Vec3{};
    parentFound = true;
    return add(placement.offset, Vec3{parent->world[12], parent->world[13], parent->world[14]});
}

void keepKeyTrack(MeshPart& part, std::span<const std::uint8_t> keyRecords) {
    const std::size_t count = keyRecords.size() / kKeyRecordSize;
    part.keyTrack.keys.reserve(count);
    for (std::size_t k = 0; k < count; ++k)
        part.keyTrack.keys.push_back(decodeKeyRecord(keyRecords.data() + k * kKeyRecordSize));
    part.keyTrack.positions.reserve(part.vertices.size());
    for (const RenderVertex& v : part.vertices)
        part.keyTrack.positions.push_back(Vec3{v.x, v.y, v.z});
}

void giveFillTexture(MeshPart& part, FillRandom& random, const ModelServices& services) {
    const float r = static_cast<float>(random.next()) * 0.6f / FillRandom::kMax;
    const float g = static_cast<float>(random.next()) / FillRandom::kMax;
    const float b = static_cast<float>(random.next()) * 0.6f / FillRandom::kMax;
    const FillTexture fill = services.textures.addFillTexture(r, g, b, random, services.trace);
    part.fillTexture = fill.index;
    part.fillColor = fill.color;
}

int finishModel(Scene& scene, std::unique_ptr<SceneObject> object, int reportedLevels,
                bool turnNormals, const ModelServices& services) {
    const bool editor = services.rules.keepsEditData;
    object->currentLevel = 0;
    if (editor) {
        for (MeshPart& part : object->meshes()) {
            if (!part.keyTrack.keys.empty())
                poseByKey(part, part.keyTrack.keys.front(), turnNormals);
        }
    }
    object->finishMeshes(services.rules.recomputesNormals);
    const int meshCount = static_cast<int>(object->meshCount());
    const int slot = scene.add(std::move(object));
    if (slot < 0)
        return -1;
    services.listener.modelLoaded(ModelRead{slot, reportedLevels, meshCount});
    return slot;
}

}  // namespace slipway::loader
