#include "render/OffscreenContext.h"

namespace slipway {

QSurfaceFormat viewerSurfaceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 3);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    return format;
}

bool OffscreenContext::create() {
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(viewerSurfaceFormat());
    if (!context_->create()) {
        context_.reset();
        return false;
    }
    surface_ = std::make_unique<QOffscreenSurface>();
    surface_->setFormat(context_->format());
    surface_->create();
    if (!surface_->isValid()) {
        return false;
    }
    return makeCurrent();
}

bool OffscreenContext::makeCurrent() {
    return context_ && surface_ && context_->makeCurrent(surface_.get());
}

void OffscreenContext::doneCurrent() {
    if (context_) {
        context_->doneCurrent();
    }
}

}  // namespace slipway
