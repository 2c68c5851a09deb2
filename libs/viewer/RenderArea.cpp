#include "viewer/RenderArea.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace slipway {

RenderArea::RenderArea(DisplayDevice& device, QWidget* parent)
    : QOpenGLWidget(parent), device_(device) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFormat(viewerSurfaceFormat());
}

bool RenderArea::openGlAvailable() {
    // These platforms draw widgets without a window system and cannot host an OpenGL widget,
    // even where they can make a context.
    const QString platform = QGuiApplication::platformName();
    if (platform == "offscreen" || platform == "minimal" || platform == "minimalegl") {
        return false;
    }
    QOpenGLContext probe;
    probe.setFormat(viewerSurfaceFormat());
    return probe.create() && probe.format().version() >= qMakePair(3, 3) &&
           probe.format().profile() == QSurfaceFormat::CoreProfile;
}

void RenderArea::initializeGL() {
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        if (onContextGone) {
            onContextGone();
        }
        doneCurrent();
    });
    if (onContextReady) {
        onContextReady();
    }
}

void RenderArea::paintGL() {
    if (device_.deviceReady()) {
        device_.copyFrameTo(defaultFramebufferObject(), width() * devicePixelRatio(),
                            height() * devicePixelRatio());
    } else {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT);
    }
}

}  // namespace slipway
