#pragma once
// The CLF and CFF model readers: each turns one file into one MODEL object of the scene,
// loading its textures, placing it relative to an optional parent, finishing its meshes and
// notifying the window. Safe on untrusted files: a file whose counts do not fit its bytes is
// refused as damaged and adds nothing.

#include <cstdint>
#include <span>
#include <string>

#include "base/Clock.h"
#include "base/DebugTrace.h"
#include "base/UserPrompt.h"
#include "engine/Scene.h"
#include "engine/SceneListener.h"
#include "engine/SearchPaths.h"
#include "engine/TextureStore.h"
#include "engine/Vec3.h"

namespace slipway {

// Where a model goes: a parent slot (-1 for none) and the offset and angles relative to it.
struct Placement {
    int parent = -1;
    Vec3 offset{};
    Vec3 angles{};
};

// What a reader uses besides the scene. The viewer's rules decide how it reads.
struct ModelServices {
    const ViewerRules& rules;
    TextureStore& textures;
    const SearchPaths& searchPaths;
    UserPrompt& prompt;
    DebugTrace& trace;
    SceneListener& listener;
    Clock& clock;  // seeds the fill colours
    // 1 while missing texture files are reported; the texture lookup clears it on Cancel.
    int& warnMissing;
    // The folder of the ship being assembled, where textures are also looked for; empty when
    // a model is read on its own.
    std::string shipFolder = {};
};

// Each returns the slot of the new object, or -1 when nothing was added (after telling the
// user why). The *FromBytes forms read a file already in memory; `path` is only used for
// messages and the object's name.
int loadClf(Scene& scene, const std::string& path, const Placement& placement,
            const ModelServices& services);
int loadClfFromBytes(Scene& scene, std::span<const std::uint8_t> bytes, const std::string& path,
                     const Placement& placement, const ModelServices& services);
int loadCff(Scene& scene, const std::string& path, const Placement& placement,
            const ModelServices& services);
int loadCffFromBytes(Scene& scene, std::span<const std::uint8_t> bytes, const std::string& path,
                     const Placement& placement, const ModelServices& services);

// The user-facing texts of the readers.
inline constexpr const char* kTooManyObjectsText = "Too many Objects in scene !";
inline constexpr const char* kBadParentText = "Uncorrect ParentID Value !";
inline constexpr const char* kCantOpenModelText = "Can't open Model File\n%s";
inline constexpr const char* kBadVersionText = "Uncorrect File version";
inline constexpr const char* kCorruptedObjectText = "Corrupted object : %s";
inline constexpr const char* kDamagedModelText = "Damaged model file\n%s";

}  // namespace slipway
