#pragma once
// Building a whole ship in the scene from a DEF file: models, sails, cannon markers, flags and
// patches, each chained to the object built for the record its Link names, so that positions
// add up along the links. The viewer's rules decide which records are used: every class it
// knows, or MODEL records only, and how many records are read.

#include <string>
#include <vector>

#include "engine/ModelLoader.h"
#include "engine/Scene.h"

namespace slipway {

// The model that marks a cannon position, whatever the CANNON record names.
inline constexpr const char* kCannonMarkerFile = "Piramid.cff";

inline constexpr const char* kCantOpenDefText = "Can,t open DEF File\n%s";
inline constexpr const char* kCantLoadPartText = "Can't lOAD Fille \n%s";
inline constexpr const char* kUnknownModelTypeText = "Uncnown type model fille \n%s";
inline constexpr const char* kCantOpenEditorModelText = "Can't open model fille \n%s";

// Returns 1 when the file was read to its end (or to the end of its announced records) and 0
// when it could not be opened or a part failed to load; the parts built so far stay in the
// scene. `recordSlots`, when given, receives one entry per record read: the slot of the object
// built for it, or -1 (nothing built, or a flag). A negative count reads no record and no
// count makes the assembly hold more than the file's own records.
int assembleShip(Scene& scene, const std::string& defPath, const ModelServices& services,
                 std::vector<int>* recordSlots = nullptr);

}  // namespace slipway
