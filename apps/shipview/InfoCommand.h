#pragma once
// `shipview --info [--cancel] [--animate MS] [--geometry] FILE`: reads FILE headlessly, with
// the current directory's Dialog.ini, and prints the scene as JSON. Message boxes are collected
// (OK/Cancel answered OK, or Cancel with --cancel), and a DEF file read as an empty or short
// ship is said to be so. Exit code 0 when FILE loaded without a message, 3 when it loaded but
// messages were given, 1 when nothing was loaded, 2 for bad usage.

#include <ostream>
#include <string>
#include <vector>

namespace slipway {

int runInfo(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err);

}  // namespace slipway
