#pragma once
// `shipview --check [--recursive] PATH...`: checks every .def, .clf and .cff file named or found
// in the folders named (and their subfolders with --recursive) without a display, resolving
// parts, sails and textures through the current directory's Dialog.ini exactly as the viewer
// would. Prints one line per problem (`path: message`), then `N files, N with problems`. Exit
// code 0 when every file is clean, 3 when any has a problem, 2 for bad usage.

#include <ostream>
#include <string>
#include <vector>

namespace slipway {

int runCheck(const std::vector<std::string>& args, const std::string& baseDirectory,
             std::ostream& out, std::ostream& err);

}  // namespace slipway
