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

namespace slipway::loader {

// The table-full and parent checks; tells the user and returns false when one fails.
bool checkRoomAndParent(const Scene& scene, const Placement& placement, UserPrompt& prompt);
// The whole model file, or nothing after telling the user it cannot be opened.
std::optional<std::vector<std::uint8_t>> readModelFile(const std::string& path, UserPrompt& prompt);
int refuseDamaged(const std::string& path, UserPrompt& prompt);

// Finds `name` through the texture search path and loads it into the store.
void loadNamedTexture(const std::string& name, const ModelServices& services);
// The store index for the texture name at `index` of the file's list (0 when out of range or
// not loaded). Looked up through the file's own list, so long or repeated names resolve to
// the texture the file means.
std::uint32_t textureFor(const std::vector<std::string>& names, std::uint64_t index,
                         const TextureStore& textures);
// The base name of the texture name at `index` of the file's list, cut as the store keys names
// (empty when out of range): what an edited part remembers of the file's texture.
std::string textureNameFor(const std::vector<std::string>& names, std::uint64_t index);

// A MODEL object with the given placement fields; with edit data, its name fields from `path`.
std::unique_ptr<SceneObject> newModel(const ViewerRules& rules, const Placement& placement,
                                      const std::string& path);
// Translation of a model: its offset, plus the parent's translation when the parent slot holds
// an object; (0, 0, 0) when the parent slot is empty. Sets `parentFound`.
Vec3 placedTranslation(const Scene& scene, const Placement& placement, bool& parentFound);

// Gives a part its single-colour pick texture.
void giveFillTexture(MeshPart& part, FillRandom& random, const ModelServices& services);

// After the meshes are built: pose parts by their first key (with edit data), finish the meshes,
// put the object in the scene and notify. Returns the slot.
int finishModel(Scene& scene, std::unique_ptr<SceneObject> object, int reportedLevels,
                bool turnNormals, const ModelServices& services);

}  // namespace slipway::loader
