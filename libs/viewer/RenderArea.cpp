#include "viewer/RenderArea.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>

namespace slipway {

RenderArea::RenderArea(DisplayDevice& device, QWidget* parent)
    : QOpenGLWidget(parent), device_(device) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFormat(viewerSurfaceFormat());
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
