// Bytespin: scrambles or unscrambles, in place, every file of the current directory that
// matches one of the masks.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bytespin/ScrambleRun.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(slipway::bytespinHelp(), stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "--version") {
        std::printf("bytespin %s\n", SLIPWAY_VERSION);
        return 0;
    }
    const std::string out = slipway::runBytespin(args);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
