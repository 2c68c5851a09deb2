#pragma once
// Pixmill's console commands: convert TGA pictures into TF textures, export TF levels back to
// TGA, describe picture files and draw thumbnails of textures. Messages that the window shows
// in boxes go to `err`, one per line as "pixmill: TEXT", with their cause after ": " where one
// is known.

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace slipway::pixmill {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // some file failed
inline constexpr int kExitUsage = 2;

// Where `err` leads: on a terminal a batch keeps a progress line up to date in place.
struct Console {
    bool terminal = false;
    std::size_t width = 80;  // the terminal's columns
};

// The help printed for --help: the program's, or one command's ("convert", "export",
// "info"); the program's for an unknown command.
const char* usageText(const std::string& command = {});

// Runs `args` (without the program name). Returns the exit code.
int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const Console& console = {});

}  // namespace slipway::pixmill
