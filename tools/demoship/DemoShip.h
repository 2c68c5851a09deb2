#pragma once
// The demo ship: a complete ship description with every kind of part the viewers show, written
// with the project's own writers, so the demo always matches the formats.

#include <string>

namespace slipway::demo {

inline constexpr const char* kDemoDefFile = "Demo.def";
inline constexpr const char* kDemoSailFile = "Demo.sail";

// Writes the DEF file, its models, sail file and textures into `directory` (created when
// missing). False when a file cannot be written.
bool writeDemoShip(const std::string& directory);

}  // namespace slipway::demo
