#pragma once
// Pixmill's console commands: convert TGA pictures into TF textures, export TF levels back to
// TGA, describe picture files and draw thumbnails of textures. Messages that the window shows
// in boxes go to `err`, one per line.

#include <ostream>
#include <string>
#include <vector>

namespace slipway::pixmill {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // some file failed
inline constexpr int kExitUsage = 2;

// The usage text printed for --help and bad usage.
const char* usageText();

// Runs `args` (without the program name). Returns the exit code.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace slipway::pixmill
