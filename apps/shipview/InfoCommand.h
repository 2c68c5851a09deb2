#pragma once
// `shipview --info [--cancel] [--animate MS] [--geometry] FILE`: reads FILE headlessly, with
// the current directory's Dialog.ini, and prints the scene as JSON. Message boxes are collected
// (OK/Cancel answered OK, or Cancel with --cancel). Exit code 0 when FILE was read, 1 when it
// could not be opened at all, 2 for bad usage.

#include <ostream>
#include <string>
#include <vector>


namespace slipway {

int runInfo(const std::vector<std::string>& args, const std::string& baseDirectory,
            std::ostream& out, std::ostream& err);

}  // namespace slipway
