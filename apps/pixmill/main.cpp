// Pixmill: converts TGA pictures into TF textures and back. The window comes later; for now
// the program runs its console commands.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "pixmill/CommandLine.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "--version") {
        std::printf("pixmill %s\n", SLIPWAY_VERSION);
        return 0;
    }
    return slipway::pixmill::runCommand(args, std::cout, std::cerr);
}
