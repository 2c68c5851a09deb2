#pragma once
// Whether a window program can reach a display, decided before its application object is
// made: without one the toolkit aborts with a page about platform plugins. Every program
// makes its QApplication (or QGuiApplication) through openDisplay, after its --help,
// --version and headless modes are handled.

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slipway {

// The exit code of a window program started without a display.
inline constexpr int kExitNoDisplay = 1;

// "PROGRAM: cannot open a display (set DISPLAY, or run under xvfb-run)"
std::string noDisplayMessage(std::string_view program);

// A variable of the environment; nothing when it is unset.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

// Whether the platform the toolkit would choose for these arguments (without the program
// name) and this environment can open a window. The choice is the -platform option, else
// QT_QPA_PLATFORM (a list separated by ';' is tried in order), else the desktop default. On
// Linux and the BSDs, X11 ("xcb") needs DISPLAY or the -display option, and the default
// needs DISPLAY or WAYLAND_DISPLAY; every other platform (offscreen, minimal, wayland, eglfs,
// ...) is left to the toolkit. Elsewhere the default always has a display.
bool displayLooksReachable(const std::vector<std::string>& args, const EnvironmentLookup& env);

// While alive, a platform that fails to start anyway (DISPLAY names a server that is not
// running, say) ends the program with noDisplayMessage on stderr and kExitNoDisplay instead
// of the toolkit's abort. Lives only around the making of the application object.
class DisplayStartGuard {
  public:
    explicit DisplayStartGuard(std::string program);
    ~DisplayStartGuard();
    DisplayStartGuard(const DisplayStartGuard&) = delete;
    DisplayStartGuard& operator=(const DisplayStartGuard&) = delete;
};

// True when the arguments and the real environment allow a window; otherwise prints
// noDisplayMessage(program) on stderr and returns false.
bool requireDisplay(std::string_view program, int argc, char** argv);

// The program's application object (QApplication or QGuiApplication), or nothing when there
// is no display (the message has been printed; return kExitNoDisplay). `argc` must outlive
// the application, as the toolkit requires.
template <typename Application>
std::unique_ptr<Application> openDisplay(std::string_view program, int& argc, char** argv) {
    if (!requireDisplay(program, argc, argv))
        return nullptr;
    DisplayStartGuard guard{std::string(program)};
    return std::make_unique<Application>(argc, argv);
}

}  // namespace slipway
