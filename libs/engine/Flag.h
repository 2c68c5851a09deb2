#pragma once
// Flags and pennants: a small strip mesh generated for each FLAG record and waved in the wind
// on every idle pass (FlagObject::animate). Flags (styles 0 and 1) have three rows of vertices
// and 10 segments, pennants (style 2) two rows and 30 segments.

#include <cstdint>

#include "engine/FlagObject.h"
#include "engine/ModelLoader.h"
#include "engine/Scene.h"
#include "engine/Vec3.h"

namespace slipway {

// The one wind of the program: it sets the droop of the strip, the wave amplitudes and the
// wave period. Nothing changes it.
inline constexpr float kWindStrength = 13.0f;

inline constexpr int kPennantStyle = 2;
inline constexpr const char* kFlagTextureFile = "Karav_flag.tga";
inline constexpr const char* kPennantTextureFile = "Karav_vimpel.tga";
inline constexpr const char* kFlagTexture = "Karav_flag";
inline constexpr const char* kPennantTexture = "Karav_vimpel";

// Sets the size fields of `flag` for its flagStyle and builds its one mesh in the resting
// position: flat in the y-z plane, hoist at the origin, normals (1, 0, 0).
void shapeFlag(FlagObject& flag);

// Period of one wave in milliseconds for a wind strength (1735 for 13).
int flagWavePeriod(float wind);

// Adds a flag or pennant at `offset` from the parent's world translation (no parent: at the
// origin) and returns its slot, or -1 after "Too many Objects in scene !" or "Uncorrect
// ParentID Value !". The strip is never rotated.
int makeFlag(Scene& scene, int parent, int type, Vec3 offset, const ModelServices& services);

}  // namespace slipway
