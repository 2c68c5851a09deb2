// Shipview: views a model file or a whole ship, renders it continuously and rescales it on
// disk. Also headless: --info prints the scene as JSON, --screenshot renders one frame,
// --resize rescales a file as the Resize button does, --export writes the scene as glTF.

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "base/Paths.h"
#include "export/ExportCommand.h"
#include "qtshell/DisplayCheck.h"
#include "render/OffscreenContext.h"
#include "shipview/CheckCommand.h"
#include "shipview/InfoCommand.h"
#include "shipview/ResizeCommand.h"
#include "shipview/Screenshot.h"
#include "shipview/ShipviewApp.h"
#include "viewer/ViewerStart.h"

#if defined(__SANITIZE_ADDRESS__)
// The OpenGL driver keeps a few allocations until it is unloaded, past the leak check, and
// reports them from a module that is gone by then; the libraries' own tests keep the check.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}
#endif

namespace {

const char* kUsage =
    "Usage: shipview [FILE]\n"
    "       shipview --info [--cancel] [--animate MS] [--geometry] FILE\n"
    "       shipview --screenshot FILE OUT.png [--size WxH] [--keys PC]\n"
    "       shipview --resize SIZE FILE\n"
    "       shipview --check [--recursive] PATH...\n"
    "       shipview --export FILE OUT.glb [--level N] [--markers]\n"
    "       shipview --help | --version\n"
    "\n"
    "Views a .clf or .cff model, or a whole ship from a .def file with its parts, sails,\n"
    "flags and textures, rendered continuously with OpenGL: drag to turn, slide or zoom, the\n"
    "mouse wheel zooms, Home resets the view. Models and textures are looked up through\n"
    "Dialog.ini in the folder Shipview is started from. --info, --resize, --check and --export\n"
    "need no display; --screenshot needs OpenGL (for example under xvfb-run).\n"
    "\n"
    "Options:\n"
    "  FILE          the .clf, .cff or .def file to open in the window\n"
    "  --info        read FILE without a display and print the scene as JSON, with the\n"
    "                messages the window would have shown\n"
    "  --cancel      answer Cancel to OK/Cancel messages (with --info)\n"
    "  --animate MS  animate every object once by MS milliseconds (with --info)\n"
    "  --geometry    add the vertices and indices of the meshes shown (with --info)\n"
    "  --screenshot  render one frame of FILE without a window and write it as PNG\n"
    "  --size WxH    picture size (default: the window's render area)\n"
    "  --keys PC     hold P (patches) and/or C (cannon markers) for the frame\n"
    "  --resize      rescale FILE on disk (a ship with every file it names) so that its\n"
    "                size becomes SIZE (0.01 to 100), as the Resize button does, and print\n"
    "                the new size\n"
    "  --check       check every .def, .clf and .cff file named or in the folders named,\n"
    "                resolving parts and textures as the viewer does; one line per problem\n"
    "  --recursive   look into subfolders too (with --check)\n"
    "  --export      write what the window shows of FILE as one binary glTF 2.0 file with\n"
    "                its textures, for Blender, web viewers and game engines\n"
    "  --level N     export level of detail N (1 to 4), as the level buttons show it\n"
    "  --markers     export the cannon markers and patches too\n"
    "  -h, --help    show this text\n"
    "  --version     show the version\n"
    "\n"
    "Examples:\n"
    "  shipview demo/Demo.def\n"
    "  shipview --info demo/Demo.def\n"
    "  shipview --check --recursive ships/\n"
    "  shipview --export demo/Demo.def demo.glb\n"
    "  xvfb-run -a shipview --screenshot demo/Demo.def demo.png --size 800x600 --keys PC\n"
    "\n"
    "Exit codes:\n"
    "  0  done (--info: read without a message; --check: no problem found)\n"
    "  1  nothing was read or written (--export: or no such level), or no display for the\n"
    "     window\n"
    "  2  wrong command line\n"
    "  3  --info: read, but with messages; --check: problems found\n";

// "shipview: ERROR", the usage lines and where to find more.
int usageError(const std::string& error) {
    const std::string usage = kUsage;
    std::cerr << "shipview: " << error << "\n"
              << usage.substr(0, usage.find("\n\n") + 1) << "Try 'shipview --help'.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace slipway;
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string baseDirectory = currentDirectory();

    if (!args.empty()) {
        const std::string& first = args[0];
        if (first == "--help" || first == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (first == "--version") {
            std::cout << "shipview " << SLIPWAY_VERSION << "\n";
            return 0;
        }
        if (first == "--info") {
            return runInfo({args.begin() + 1, args.end()}, baseDirectory, std::cout, std::cerr);
        }
        if (first == "--check") {
            return runCheck({args.begin() + 1, args.end()}, baseDirectory, std::cout, std::cerr);
        }
        if (first == "--resize") {
            return runResize({args.begin() + 1, args.end()}, baseDirectory, std::cout, std::cerr);
        }
        if (first == "--export") {
            return runExport({args.begin() + 1, args.end()}, baseDirectory,
                             {"shipview", kShipviewRules, "Slipway Shipview"}, std::cout,
                             std::cerr);
        }
        if (first == "--screenshot") {
            const auto app = openDisplay<QGuiApplication>("shipview", argc, argv);
            if (!app)
                return kExitNoDisplay;
            return runScreenshot({args.begin() + 1, args.end()}, baseDirectory, std::cerr);
        }
        if (first.size() > 1 && first[0] == '-')
            return usageError("unknown option " + first);
        if (args.size() > 1)
            return usageError("only one file can be given");
        if (!modelFileKindOf(first)) {
            std::cerr << "shipview: " << first << " is not a .clf, .cff or .def file\n";
            return 2;
        }
    }

    return runViewerWindow<ShipviewApp>("shipview", "Shipview", argc, argv, baseDirectory, args);
}
