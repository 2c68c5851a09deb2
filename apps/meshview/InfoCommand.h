#pragma once
// `meshview --info [--geometry] FILE`: reads FILE (.clf or .cff) headlessly as Meshview's open
// command would, with the current directory's Dialog.ini (whose recent list stays as it is),
// and prints the scene as JSON: Shipview's report with each object's path and key count and
// each mesh's name and key records. Messages are collected into the report. Exit code 0 when
// FILE was read, 1 when it could not be opened at all, 2 for bad usage.

#include <ostream>
#include <string>
#include <vector>

namespace slipway::meshview {

int runInfo(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err);

// The kind of a model file Meshview opens from its command line (.clf or .cff), or an
// explanation on `err` and false.
bool checkModelFile(const std::string& file, std::ostream& err);

}  // namespace slipway::meshview
