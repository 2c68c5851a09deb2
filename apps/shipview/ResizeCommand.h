#pragma once
// `shipview --resize SIZE FILE`: the Resize button without a display. Opens FILE as the window
// would (without touching Dialog.ini's recent list), rescales it on disk, with every file a
// ship names, so that its size becomes SIZE, reads it again and prints the new size. Messages
// go to stderr. Exit code 0 when rescaled (or already of that size), 1 when nothing could be
// read or rescaled, 2 for bad usage.

#include <ostream>
#include <string>
#include <vector>

namespace slipway {

int runResize(const std::vector<std::string>& args, const std::string& baseDirectory,
              std::ostream& out, std::ostream& err);

}  // namespace slipway
