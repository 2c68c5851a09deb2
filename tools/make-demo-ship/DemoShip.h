#pragma once
// The demo ship: a complete ship description with every kind of part the viewers show, written
// with the project's own writers, so the demo always matches the formats.

#include <string>

namespace slipway::demo {

inline constexpr const char* kDemoDefFile = "Demo.def";
inline constexpr const char* kDemoSailFile = "Demo.sail";
// A model of its own, not part of the ship: a rudder with key records that swing it, for the
// model editor's key slider.
inline constexpr const char* kDemoRudderFile = "rudder.cff";

// Writes the DEF file, its models, sail file and textures, and the rudder, into `directory`
// (created when missing). False when a file cannot be written.
bool writeDemoShip(const std::string& directory);

}  // namespace slipway::demo
