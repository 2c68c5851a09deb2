#pragma once
// Saving the model editor's models back to disk as CLF files in the edited form: version
// 0x281238, one level of detail, the object's key count in the header and key records after
// every mesh. A model goes back to the path it was read from, or, when that does not end in
// ".clf", to a ".clf" file of the same name beside it, which the object's path names from then
// on. Meshes that are hidden, or have no vertices or no triangles, are left out.
//
// What is written: for each mesh its name (cut to 31 characters and a terminator), its
// double-sided flag, its stored positions (as read, times every rescaling; not the pose shown)
// with zero normals, its triangles as they are now with each corner's texture coordinates, and
// the object's key count of key records (a mesh with fewer repeats its last one, a mesh with
// none gets records of zero translation and angles). Where the object announces more keys than
// any of its meshes carries, the count written is the most that one carries. Each mesh keeps the texture name its file gave
// (spelled as the store holds it), also when that texture was not found; a mesh whose file gave
// none is saved without one.
//
// Each file is written atomically: a failure leaves the old file exactly as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/UserPrompt.h"
#include "engine/Scene.h"
#include "engine/TextureStore.h"

namespace slipway {

inline constexpr const char* kCannotSaveText = "Cannot save the model file\n%s";

// The path a model read from `path` is saved to.
std::string savedModelPath(const std::string& path);

// The bytes a save writes for `object` (a MODEL object).
std::vector<std::uint8_t> savedModelBytes(const SceneObject& object, const TextureStore& textures);

enum class SaveOutcome {
    Skipped,  // no MODEL object in that slot (0 to 63)
    Written,
    Failed,  // the file could not be written; the old one is as it was
};

struct SaveOptions {
    // Test hook: the write fails once this many bytes have gone out, as on a full disk.
    std::size_t failAfterBytes = SIZE_MAX;
};

// Saves the object in `slot` (see above). The object's path becomes the saved path even when
// the write fails.
SaveOutcome saveModel(Scene& scene, int slot, const TextureStore& textures,
                      const SaveOptions& options = {});

struct SaveReport {
    std::vector<std::string> written;  // paths, in slot order
    std::vector<std::string> failed;
};

// Saves every model in the slots 0 to 63 in order. Each one that cannot be written is told
// with "Cannot save the model file\n<path>"; the others are saved all the same.
SaveReport saveAll(Scene& scene, const TextureStore& textures, UserPrompt& prompt,
                   const SaveOptions& options = {});

}  // namespace slipway
