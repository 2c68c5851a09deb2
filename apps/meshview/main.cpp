// Meshview: views one model (.clf or .cff), lists its meshes, picks them with the mouse,
// renames them, changes their double-sided flag and winding, poses the model at its keys,
// rescales it and saves it as CLF. Also headless: --info prints the scene as JSON, --save
// applies edits and saves, --screenshot renders one frame.

#include <iostream>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "base/Paths.h"
#include "export/ExportCommand.h"
#include "meshview/InfoCommand.h"
#include "meshview/MeshviewApp.h"
#include "meshview/SaveCommand.h"
#include "meshview/Screenshot.h"
#include "qtshell/DisplayCheck.h"
#include "render/OffscreenContext.h"
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
    "Usage: meshview [FILE]\n"
    "       meshview --info [--geometry] FILE\n"
    "       meshview --save FILE [EDIT]...\n"
    "       meshview --screenshot FILE OUT.png [--size WxH] [--select MESH]\n"
    "       meshview --export FILE OUT.glb\n"
    "       meshview --help | --version\n"
    "\n"
    "Views one .clf or .cff model for editing: lists its meshes, picks them with the mouse in\n"
    "select mode, renames them, toggles their double-sided flag, reverses their triangles,\n"
    "poses the model at its key records, rescales it, and saves it as a .clf file (a .cff model\n"
    "is saved as a .clf file of the same name beside it). Textures are looked up through\n"
    "Dialog.ini in the directory Meshview is started from.\n"
    "\n"
    "Options:\n"
    "  --info        read FILE without a display and print the scene as JSON\n"
    "  --geometry    add the vertices and indices of every mesh (with --info)\n"
    "  --save        read FILE, apply the EDITs in order, save as the Save command does and\n"
    "                print each file written\n"
    "  --screenshot  render one frame of FILE without a window and write it as PNG\n"
    "  --size WxH    picture size (default: the window's render area)\n"
    "  --select MESH show MESH picked, as a click in select mode does (with --screenshot)\n"
    "  --export      write FILE's model as one binary glTF 2.0 file with its textures, one\n"
    "                mesh per part under its name, for Blender, web viewers and game engines\n"
    "  -h, --help    show this text\n"
    "  --version     show the version\n"
    "\n"
    "Edits (MESH is a mesh index, counted from 0 as --info lists them):\n"
    "  --rename MESH NAME    rename the mesh (63 characters are kept, 31 are saved)\n"
    "  --double-sided MESH   toggle its double-sided flag (the \"Flip Normals\" button)\n"
    "  --reverse MESH        reverse its triangles (the \"Change DoubleSide State\" button)\n"
    "  --kf FACTOR           scale the model by FACTOR (0.000000001 to 9000)\n"
    "  --height H            scale the model to the height H (0.000001 to 9000)\n"
    "\n"
    "Examples:\n"
    "  meshview hull.clf\n"
    "  meshview --info rudder.cff\n"
    "  meshview --save hull.clf --rename 1 planking --double-sided 2 --kf 2\n"
    "  for f in *.cff; do meshview --save \"$f\" --height 1.5; done\n"
    "  meshview --screenshot hull.clf hull.png --select 1\n"
    "  meshview --export rudder.cff rudder.glb\n"
    "\n"
    "Exit codes:\n"
    "  0  success\n"
    "  1  the file could not be read, an edit could not be made, a file could not be\n"
    "     written, or no display for the window\n"
    "  2  wrong command line, a mesh the model does not have or a number out of range\n"
    "     (nothing is written then)\n";

// "meshview: ERROR", the usage lines and where to find more.
int usageError(const std::string& error) {
    const std::string usage = kUsage;
    std::cerr << "meshview: " << error << "\n"
              << usage.substr(0, usage.find("\n\n") + 1) << "Try 'meshview --help'.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace slipway;
    std::vector<std::string> args(argv + 1, argv + argc);
    const std::string baseDirectory = currentDirectory();

    if (!args.empty()) {
        const std::string& first = args[0];
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        if (first == "--help" || first == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (first == "--version") {
            std::cout << "meshview " << SLIPWAY_VERSION << "\n";
            return 0;
        }
        if (first == "--info") {
            return meshview::runInfo(rest, baseDirectory, std::cout, std::cerr);
        }
        if (first == "--export") {
            return runExport(rest, baseDirectory, {"meshview", kMeshviewRules, "Slipway Meshview"},
                             std::cout, std::cerr);
        }
        if (first == "--save") {
            return meshview::runSave(rest, baseDirectory, std::cout, std::cerr);
        }
        if (first == "--screenshot") {
            const auto app = openDisplay<QGuiApplication>("meshview", argc, argv);
            if (!app)
                return kExitNoDisplay;
            return meshview::runScreenshot(rest, baseDirectory, std::cerr);
        }
        if (first.size() > 1 && first[0] == '-')
            return usageError("unknown option " + first);
        if (args.size() > 1)
            return usageError("only one file can be given");
        if (!meshview::checkModelFile(first, std::cerr)) {
            return 2;
        }
    }

    return runViewerWindow<MeshviewApp>("meshview", "Meshview", argc, argv, baseDirectory, args);
}
