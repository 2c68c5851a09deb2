// Pixmill: converts TGA pictures into TF textures and back. The window comes later; for now
// the program runs its console commands.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "pixmill/CommandLine.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--version") {
        std::printf("pixmill %s\n", SLIPWAY_VERSION);
        return 0;
    }
#if defined(__GLIBC__)
    // A conversion allocates and frees pictures of a few megabytes each; keeping freed memory
    // in the process instead of handing it back spares the page faults of taking it again.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
    return slipway::pixmill::runCommand(args, std::cout, std::cerr);
}
