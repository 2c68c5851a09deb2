#include "viewer/ViewerScreenshot.h"

#include <cstdio>

#include <QBuffer>
#include <QImage>

#include "base/Clock.h"
#include "base/FileIo.h"
#include "render/DisplayDevice.h"
#include "render/FrameRenderer.h"
#include "render/OffscreenContext.h"

namespace slipway {

bool parsePictureSize(const std::string& text, QSize& size) {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 || w > 8192 ||
        h > 8192) {
        return false;
    }
    size = QSize(w, h);
    return true;
}

int takeScreenshot(const ScreenshotRequest& request, const std::string& baseDirectory,
                   const std::function<int(ViewerSession&)>& afterOpen, std::ostream& err) {
    const std::string program = request.program;
    OffscreenContext context;
    DisplayDevice device(request.rules.projection);
    std::string failure;
    if (!context.create() ||
        !device.createDevice(request.size.width(), request.size.height(), failure)) {
        err << "message: " << kDeviceFailedText << "\n";
        return 1;
    }
    SteadyClock clock;
    ViewerSession session(request.rules, baseDirectory, clock);
    HeadlessPrompt prompt;
    session.setPrompt(&prompt);
    const OpenResult opened =
        session.open(*modelFileKindOf(request.file), request.file, RecentList::Keep);
    device.setAmbientLight(opened.ambient);
    if (const int code = afterOpen ? afterOpen(session) : 0; code != 0) {
        device.releaseDevice();
        return code;
    }

    FrameRenderer renderer(device, session.rules(), request.keys, clock);
    renderer.renderFrame(session.scene(), session.camera(), session.textures());
    const QImage image = device.grabFrame();
    renderer.release();
    device.releaseDevice();
    // An empty picture would pass for a view of the file.
    if (session.scene().objectCount() == 0) {
        err << program << ": nothing was read from " << request.file << ", no picture written\n";
        return 1;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const bool encoded = image.save(&buffer, "PNG");
    const auto* data = reinterpret_cast<const std::uint8_t*>(png.constData());
    if (!encoded ||
        !writeFileAtomically(request.out, {data, static_cast<std::size_t>(png.size())})) {
        err << program << ": cannot write " << request.out << "\n";
        return 1;
    }
    return 0;
}

}  // namespace slipway
