#include "render/GlTestSupport.h"

#include <cmath>
#include <cstdlib>

#include <QGuiApplication>

namespace slipway::test {

bool makeGlContext(OffscreenContext& context) {
    static int argc = 1;
    static char name[] = "gl_tests";
    static char* argv[] = {name, nullptr};
    // Kept for the whole process: tearing down the display connection makes the GL driver
    // report allocations it frees only on unload.
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
    return context.create();
}

bool sameColour(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

QPoint pixelOf(const std::array<float, 4>& clip, int width, int height) {
    const float x = clip[0] / clip[3];
    const float y = clip[1] / clip[3];
    return QPoint(static_cast<int>(std::floor((x + 1.0f) * 0.5f * static_cast<float>(width))),
                  static_cast<int>(std::floor((1.0f - y) * 0.5f * static_cast<float>(height))));
}

}  // namespace slipway::test
