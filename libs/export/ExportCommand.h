#pragma once
// `VIEWER --export FILE OUT.glb [--level N] [--markers]`, for both viewers: opens FILE as the
// viewer's window would (same rules, lookups and messages, on stderr; Dialog.ini's recent list
// untouched) and writes what it shows as one binary glTF file with its textures
// (export/GltfExport.h). --level shows level N (1 to 4) first, as Shipview's level buttons
// do; --markers adds the cannon markers and patches where the viewer draws them. Prints one
// line about what was written. Exit code 0 when written, 1 when nothing was read, the level
// does not exist or the file could not be written, 2 for bad usage.

#include <ostream>
#include <string>
#include <vector>

#include "engine/ViewerRules.h"

namespace slipway {

// Which viewer exports: its name in messages, its rules, and the generator named in the file.
struct ExportingViewer {
    const char* program;
    const ViewerRules& rules;
    const char* generator;
};

int runExport(const std::vector<std::string>& args, const std::string& baseDirectory,
              const ExportingViewer& viewer, std::ostream& out, std::ostream& err);

// The file an export of `modelPath` is offered as: the same folder and name, ending ".glb"
// ("Ship.glb" when nothing is open).
std::string suggestedGlbPath(const std::string& modelPath);
// `path`, with ".glb" added unless it ends so already (in any case).
std::string withGlbExtension(const std::string& path);

}  // namespace slipway
