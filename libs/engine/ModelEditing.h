#pragma once
// The model editor's scene operations: naming and counting what a read added, choosing the
// object that editing acts on, marking meshes by their pick colour, and the edits themselves
// (rename, double-sided flag, triangle winding, posing at a key, measuring and rescaling).
// The current object is the first object, in slot order, whose `current` flag is set.
// Every operation checks its indices and does nothing outside them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Scene.h"

namespace slipway {

// The slots the editor's operations look at (its scene has no more).
inline constexpr int kEditorSlots = 64;

// Mark values: 0 none, 1 picked (drawn red), 2 drawn blue.
inline constexpr int kMarkNone = 0;
inline constexpr int kMarkPicked = 1;
inline constexpr int kMarkBlue = 2;

// The name of mesh `index` of the object in `slot`; nothing when the slot (0 to 63) is empty
// or the index is outside its meshes.
std::optional<std::string> meshNameAt(const Scene& scene, int slot, int index);
// The key count of the object in `slot`; nothing when the slot (0 to 63) is empty.
std::optional<std::uint32_t> objectKeyCount(const Scene& scene, int slot);

// The current object, or null.
SceneObject* currentObject(const Scene& scene);
// When `index` is below the object count: walking the occupied slots from 0, object number
// `index` becomes current and shown, every other one not current and hidden.
void makeCurrent(Scene& scene, int index);
// The same walk: no object current, every one shown.
void releaseCurrent(Scene& scene);

// On the current object, every shown mesh marked `mark` loses its mark.
void clearMarks(Scene& scene, int mark);

struct PickedMesh {
    int index = -1;
    std::string name;
};
// The first mesh of the current object whose fill colour is `color` gets `mark`. Nothing for
// colour 0, without a current object, or when no mesh has that colour.
std::optional<PickedMesh> pickMesh(Scene& scene, std::uint32_t color, int mark);
// Marks mesh `index` of the current object as picked, after clearing the other picks, as a
// click on it would. False (and nothing marked) when there is no such mesh.
bool markMesh(Scene& scene, int index);

// Renames mesh `index` of the current object (cut to 63 characters).
void renameMesh(Scene& scene, int index, std::string_view name);
// Every picked mesh of the current object: double-sided becomes single-sided and back.
void toggleDoubleSided(Scene& scene);
// Every picked mesh of the current object: the second and third corner of each triangle
// change places.
void reverseWinding(Scene& scene);

// Poses every mesh of the object in slot 0 that has key records by its key `frame` (a mesh
// with fewer keys holds its last one), from its stored positions; normals stay. False when
// slot 0 is empty or `frame` is not below its key count.
bool setFrame(Scene& scene, int frame);

// Largest minus smallest y over the vertices of the MODEL objects in the first 64 slots, in
// object coordinates; 0 without any vertex.
float measureHeight(const Scene& scene);
// Multiplies the object in slot 0 by `factor`: its vertex positions, the stored positions of
// its key tracks and the translations of its first keyCount keys; then its bounds are
// measured again. Normals and texture coordinates stay. Refused (false, nothing changed) when
// slot 0 is empty, the factor is not a finite number, or a position would leave the float
// range.
bool scaleModel(Scene& scene, float factor);

}  // namespace slipway
