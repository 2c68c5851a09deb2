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
#if defined(__unix__) || defined(__APPLE__)
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace {

// Whether stderr is a terminal, and how wide: a batch then shows its progress there.
slipway::pixmill::Console stderrConsole() {
    slipway::pixmill::Console console;
#if defined(__unix__) || defined(__APPLE__)
    console.terminal = ::isatty(STDERR_FILENO) != 0;
    winsize size{};
    if (console.terminal && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        console.width = size.ws_col;
#endif
    return console;
}

}  // namespace

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
    return slipway::pixmill::runCommand(args, std::cout, std::cerr, stderrConsole());
}
