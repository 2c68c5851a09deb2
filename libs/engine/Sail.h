#pragma once
// The sail generator: finds the entry of a SAIL record in the sail file, generates its cloth
// and adds the meshes stored with it as one SAIL object of the scene.

#include <cstdint>
#include <span>
#include <string>

#include "engine/ModelLoader.h"
#include "engine/Scene.h"

namespace slipway {

inline constexpr const char* kSailTextureFile = "Parusa_english.tga";
inline constexpr const char* kPlainSailTextureFile = "Parusa_english_prost.tga";
inline constexpr const char* kSailTexture = "Parusa_english";
inline constexpr const char* kPlainSailTexture = "Parusa_english_prost";
// Sails of this DEF `Type` show the painted cloth; all others the plain one.
inline constexpr int kPaintedSailType = 6;

// Builds the sail of the SAIL record at `recordIndex` (its position in the ship description)
// from the sail file at `path`. The object sits at placement.offset from the parent's world
// translation (no parent: at the origin) and is never rotated; angles are only stored.
// Returns the slot, or -1 without a message when the file cannot be read, holds no complete
// entry for `recordIndex`, or the scene is full. Safe on untrusted files.
int makeSail(Scene& scene, const std::string& path, int recordIndex, int type,
             const Placement& placement, const ModelServices& services);
int makeSailFromBytes(Scene& scene, std::span<const std::uint8_t> bytes, int recordIndex, int type,
                      const Placement& placement, const ModelServices& services);

}  // namespace slipway
