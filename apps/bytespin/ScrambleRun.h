#pragma once
// One run of Bytespin: parse the option and the masks, code every matching file of the current
// directory in place, and print the count. Every file is coded into a temporary file that
// replaces the original only when complete, so a failure leaves the original as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace slipway {

inline constexpr std::size_t kMaskBufferSize = 260;
inline constexpr std::size_t kCoderChunkBytes = 1u << 20;

struct ScrambleHooks {
    // Test hook: writes of each file fail after this many bytes, as on a full disk.
    std::size_t failWriteAfterBytes = SIZE_MAX;
};

struct ScrambleCounts {
    int total = 0;
    int processed = 0;
};

// Runs with the arguments after the program name: the option, then one mask or more, taken
// in turn, each name coded once. Returns the text for standard output.
std::string runBytespin(const std::vector<std::string>& args, const ScrambleHooks& hooks = {});

// The text of --help.
const char* bytespinHelp();

// Codes one file in place (by name, relative to the current directory). False when it could
// not be opened, read or replaced; the file is then unchanged.
bool codeFileInPlace(const std::string& name, bool scramble, const ScrambleHooks& hooks = {});

}  // namespace slipway
