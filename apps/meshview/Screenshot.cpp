#include "meshview/Screenshot.h"

#include <cstdio>

#include <QImage>

#include "base/Clock.h"
#include "base/KeyState.h"
#include "engine/ModelEditing.h"
#include "engine/ViewerSession.h"
#include "meshview/EditPanel.h"
#include "meshview/InfoCommand.h"
#include "qtshell/DialogUnits.h"
#include "render/FrameRenderer.h"
#include "render/OffscreenContext.h"

namespace slipway::meshview {

namespace {

bool parseSize(const std::string& text, QSize& size) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 || w > 8192 ||
        h > 8192) {
        return false;
    }
    size = QSize(w, h);
    return true;
}

bool parseIndex(const std::string& text, int& index) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%d%c", &index, &tail) == 1 && index >= 0;
}

}  // namespace

QSize renderAreaSize() {
    return dialogRect(7, 1, 331, 276).adjusted(5, 14, -5, -5).size();
}

int runScreenshot(const std::vector<std::string>& args, const std::string& baseDirectory,
                  std::ostream& err) {
    std::vector<std::string> files;
    QSize size = renderAreaSize();
    int selected = -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--size") {
            if (i + 1 >= args.size() || !parseSize(args[i + 1], size)) {
                err << "meshview: --size needs WIDTHxHEIGHT\n";
                return 2;
            }
            ++i;
        } else if (arg == "--select") {
            if (i + 1 >= args.size() || !parseIndex(args[i + 1], selected)) {
                err << "meshview: --select needs a mesh index (0, 1, ...)\n";
                return 2;
            }
            ++i;
        } else if (!arg.empty() && arg[0] == '-') {
            err << "meshview: unknown option " << arg << "\n";
            return 2;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        err << "meshview: --screenshot needs FILE and OUT.png\n";
        return 2;
    }
    if (!checkModelFile(files[0], err)) {
        return 2;
    }

    OffscreenContext context;
    DisplayDevice device(kMeshviewRules.projection);
    std::string failure;
    if (!context.create() || !device.createDevice(size.width(), size.height(), failure)) {
        err << "message: " << kDeviceFailedText << "\n";
        return 1;
    }
    SteadyClock clock;
    ViewerSession session(kMeshviewRules, baseDirectory, clock);
    HeadlessPrompt prompt;
    session.setPrompt(&prompt);
    const OpenResult opened = session.open(*modelFileKindOf(files[0]), files[0], RecentList::Keep);
    device.setAmbientLight(opened.ambient);
    Scene& scene = session.scene();
    if (selected >= 0) {
        const SceneObject* model = scene.object(0);
        const int meshes = model != nullptr ? static_cast<int>(model->meshCount()) : 0;
        if (selected >= meshes) {
            err << "meshview: --select " << selected << ": the model has " << meshes << " meshes\n";
            device.releaseDevice();
            return 2;
        }
        // Select mode and a click on that mesh.
        EditPanel panel;
        panel.setSelectMode(scene, true);
        panel.pickIndex(scene, selected);
    }

    FixedKeyState keys;
    FrameRenderer renderer(device, session.rules(), keys, clock);
    renderer.renderFrame(scene, session.camera(), session.textures());
    const QImage image = device.grabFrame();
    renderer.release();
    device.releaseDevice();
    if (!image.save(QString::fromLocal8Bit(files[1].c_str()), "PNG")) {
        err << "meshview: cannot write " << files[1] << "\n";
        return 1;
    }
    return scene.objectCount() > 0 ? 0 : 1;
}

}  // namespace slipway::meshview
