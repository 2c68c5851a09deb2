// Pixmill: converts TGA pictures into TF textures and back. Without arguments, or with one file
// or folder, it opens its window; `convert`, `export` and `info` run the console commands.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <QApplication>
#include <QSettings>

#include "pixmill/CommandLine.h"
#include "qtshell/DisplayCheck.h"
#include "qtshell/ProgramIcon.h"
#include "pixmill/PixmillSettings.h"
#include "pixmill/PixmillWindow.h"
#include "pixmill/StartMode.h"

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
    using namespace slipway::pixmill;
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
    // Decided before any window system is touched.
    const StartMode start = chooseStartMode(args);
    switch (start.kind) {
        case StartMode::Command:
            return runCommand(args, std::cout, std::cerr, stderrConsole());
        case StartMode::ResetSettings: {
            QSettings settings(kSettingsOrganization, kSettingsApplication);
            settings.clear();
            settings.sync();
            return settings.status() == QSettings::NoError ? 0 : 1;
        }
        case StartMode::Window:
        case StartMode::WindowOnPath:
            break;
    }

    const auto app = slipway::openDisplay<QApplication>("pixmill", argc, argv);
    if (!app)
        return slipway::kExitNoDisplay;
    QApplication::setApplicationName("Pixmill");
    QApplication::setWindowIcon(slipway::programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("slipway-pixmill"));
    PixmillWindow window;
    window.showStored();
    if (start.kind == StartMode::WindowOnPath)
        window.openPath(start.path);
    return app->exec();
}
