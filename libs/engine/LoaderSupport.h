#pragma once
// Steps shared by the CLF and CFF readers (internal to the engine library).

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/FillRandom.h"
#include "engine/ModelLoader.h"
#include "formats/LayoutWalk.h"

namespace slipway::loader {

static_assert(static_cast<int>(kModelLevelLimit) == kMaxLevels,
              "a model walk covers no more levels than a model holds");

// The table-full and parent checks; tells the user and returns false when one fails.
bool checkRoomAndParent(const Scene& scene, const Placement& placement, UserPrompt& prompt);
// The whole model file, or nothing after telling the user it cannot be opened.
std::optional<std::vector<std::uint8_t>> readModelFile(const std::string& path, UserPrompt& prompt);

using BytesLoader = int (*)(Scene&, std::span<const std::uint8_t>, const std::string&,
                            const Placement&, const ModelServices&);
// A reader on a file: the table and parent checks before the file is read, then `load` on its
// bytes. The slot, or -1 as `load` gives it.
int loadModelFile(Scene& scene, const std::string& path, const Placement& placement,
                  const ModelServices& services, BytesLoader load);
int refuseDamaged(const std::string& path, UserPrompt& prompt);

// Finds `name` through the texture search path (then beside `filePath`, the file naming it,
// and in the ship's folder) and loads it into the store.
void loadNamedTexture(const std::string& name, const ModelServices& services,
                      const std::string& filePath = {});
// The same for each of a model file's texture names, in order.
void loadNamedTextures(const std::vector<std::string>& names, const std::string& filePath,
                       const ModelServices& services);
// The store index for the texture name at `index` of the file's list (0 when out of range or
// not loaded). Looked up through the file's own list, so long or repeated names resolve to
// the texture the file means.
std::uint32_t textureFor(const std::vector<std::string>& names, std::uint64_t index,
                         const TextureStore& textures);
// The base name of the texture name at `index` of the file's list, cut as the store keys names
// (empty when out of range): what an edited part remembers of the file's texture.
std::string textureNameFor(const std::vector<std::string>& names, std::uint64_t index);

// A MODEL object with the given placement fields and its name fields from `path`.
std::unique_ptr<SceneObject> newModel(const Placement& placement, const std::string& path);
// Translation of a model: its offset, plus the parent's translation when the parent slot holds
// an object; (0, 0, 0) when the parent slot is empty. Sets `parentFound`.
Vec3 placedTranslation(const Scene& scene, const Placement& placement, bool& parentFound);

// Gives `object` one level of parts per level of a model layout, one part per object of that
// level, and calls build(part, objectLayout) for each in file order. False as soon as build
// returns false.
template <typename LevelLayout, typename Build>
bool buildLevels(SceneObject& object, const std::vector<LevelLayout>& levels, Build build) {
    for (std::size_t level = 0; level < levels.size(); ++level) {
        const auto& sources = levels[level].objects;
        std::vector<MeshPart>& parts = object.lodMeshes[level];
        parts.resize(sources.size());
        object.levelCount = static_cast<int>(level) + 1;
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (!build(parts[i], sources[i]))
                return false;
        }
    }
    return true;
}

// Keeps a part's key records and a copy of its positions as built (edit data).
// `keyRecords` holds whole records of kKeyRecordSize bytes.
void keepKeyTrack(MeshPart& part, std::span<const std::uint8_t> keyRecords);

// Gives a part its single-colour pick texture.
void giveFillTexture(MeshPart& part, FillRandom& random, const ModelServices& services);

// After the meshes are built: pose parts by their first key (with edit data), finish the meshes,
// put the object in the scene and notify. Returns the slot.
int finishModel(Scene& scene, std::unique_ptr<SceneObject> object, int reportedLevels,
                bool turnNormals, const ModelServices& services);

}  // namespace slipway::loader
