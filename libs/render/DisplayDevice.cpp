#include "render/DisplayDevice.h"

#include <QOpenGLContext>

namespace slipway {

bool DisplayDevice::createDevice(int width, int height, std::string& failure) {
    releaseDevice();
    QOpenGLContext* context = QOpenGLContext::currentContext();
    const bool core33 = context != nullptr && context->format().version() >= qMakePair(3, 3) &&
                        context->format().profile() == QSurfaceFormat::CoreProfile;
    if (!core33 || !gl_.initializeOpenGLFunctions()) {
        failure = kDeviceFailedText;
        return false;
    }
    created_ = true;
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;

    // The back surface with its depth buffer.
    gl_.glGenFramebuffers(1, &framebuffer_);
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    gl_.glGenRenderbuffers(1, &colourBuffer_);
    gl_.glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    gl_.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width_, height_);
    gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  colourBuffer_);
    gl_.glGenRenderbuffers(1, &depthBuffer_);
    gl_.glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    gl_.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width_, height_);
    gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  depthBuffer_);
    if (gl_.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        failure = kDeviceFailedText;
        releaseDevice();
        return false;
    }

    std::string log;
    if (!shader_.create(gl_, log)) {
        failure = kDeviceFailedText;
        releaseDevice();
        return false;
    }
    textures_.create(gl_);

    shader_.use(gl_);
    shader_.setProjection(gl_, projectionMatrix(projection_));
    shader_.setView(gl_, identity());
    shader_.setWorld(gl_, identity());
    shader_.setLightPosition(gl_, kLightPosition);
    setAmbientLight(kStartAmbient);

    // Depth test on (less or equal, cleared to 1), culling off, no blending: the source's
    // colour replaces what is there, as with the default blend factors one and zero.
    gl_.glEnable(GL_DEPTH_TEST);
    gl_.glDepthFunc(GL_LEQUAL);
    gl_.glDisable(GL_CULL_FACE);
    // The front face is the clockwise one, so culling the back drops counter-clockwise ones.
    gl_.glFrontFace(GL_CW);
    gl_.glCullFace(GL_BACK);
    gl_.glDisable(GL_BLEND);
    shader_.setAlphaTest(gl_, false);
    textures_.bindNone(gl_);
    ready_ = true;
    // Made now rather than at the first click, which then answers at once.
    createPickSurface();
    // The back surface starts out undefined; it is shown before the first frame.
    clearFrame();
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, context->defaultFramebufferObject());
    return true;
}

void DisplayDevice::releaseDevice() {
    if (created_) {
        releasePickSurface();
        textures_.destroy(gl_);
        shader_.destroy(gl_);
        if (depthBuffer_ != 0) {
            gl_.glDeleteRenderbuffers(1, &depthBuffer_);
        }
        if (colourBuffer_ != 0) {
            gl_.glDeleteRenderbuffers(1, &colourBuffer_);
        }
        if (framebuffer_ != 0) {
            gl_.glDeleteFramebuffers(1, &framebuffer_);
        }
    }
    depthBuffer_ = colourBuffer_ = framebuffer_ = 0;
    created_ = false;
    ready_ = false;
}

void DisplayDevice::setViewTransform(const Matrix4& view) {
    shader_.use(gl_);
    shader_.setView(gl_, view);
}

void DisplayDevice::setWorldTransform(const Matrix4& world) {
    shader_.setWorld(gl_, world);
}

void DisplayDevice::setAmbientLight(std::uint32_t argb) {
    ambient_ = argb;
    if (created_) {
        shader_.use(gl_);
        shader_.setAmbient(gl_, argb);
    }
}

void DisplayDevice::setAlphaTest(bool on) {
    shader_.setAlphaTest(gl_, on);
}

void DisplayDevice::setCullCounterClockwise(bool on) {
    if (on) {
        gl_.glEnable(GL_CULL_FACE);
    } else {
        gl_.glDisable(GL_CULL_FACE);
    }
}

bool DisplayDevice::beginScene() {
    if (!ready_) {
        return false;
    }
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    gl_.glViewport(0, 0, width_, height_);
    shader_.use(gl_);
    gl_.glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    gl_.glClearDepth(1.0);
    gl_.glClearStencil(0);
    gl_.glDepthMask(GL_TRUE);
    gl_.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void DisplayDevice::endScene() {
    gl_.glBindVertexArray(0);
    gl_.glFlush();
}

bool DisplayDevice::createPickSurface() {
    gl_.glGenFramebuffers(1, &pickFramebuffer_);
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, pickFramebuffer_);
    gl_.glGenRenderbuffers(1, &pickDepthBuffer_);
    gl_.glBindRenderbuffer(GL_RENDERBUFFER, pickDepthBuffer_);
    gl_.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width_, height_);
    gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  pickDepthBuffer_);
    // 5:6:5 where the driver can render into it; otherwise 8 bits a channel, which reads back
    // as the same 5:6:5 value since every fill colour is a 5:6:5 colour.
    for (GLenum format : {GLenum{GL_RGB565}, GLenum{GL_RGBA8}}) {
        gl_.glGenRenderbuffers(1, &pickColourBuffer_);
        gl_.glBindRenderbuffer(GL_RENDERBUFFER, pickColourBuffer_);
        gl_.glRenderbufferStorage(GL_RENDERBUFFER, format, width_, height_);
        gl_.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                      pickColourBuffer_);
        if (gl_.glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
            return true;
        }
        gl_.glDeleteRenderbuffers(1, &pickColourBuffer_);
        pickColourBuffer_ = 0;
    }
    releasePickSurface();
    return false;
}

void DisplayDevice::releasePickSurface() {
    if (pickColourBuffer_ != 0) {
        gl_.glDeleteRenderbuffers(1, &pickColourBuffer_);
    }
    if (pickDepthBuffer_ != 0) {
        gl_.glDeleteRenderbuffers(1, &pickDepthBuffer_);
    }
    if (pickFramebuffer_ != 0) {
        gl_.glDeleteFramebuffers(1, &pickFramebuffer_);
    }
    pickColourBuffer_ = pickDepthBuffer_ = pickFramebuffer_ = 0;
}

bool DisplayDevice::beginPickScene(int x, int y) {
    if (!ready_ || x < 0 || y < 0 || x >= width_ || y >= height_ ||
        (pickFramebuffer_ == 0 && !createPickSurface())) {
        return false;
    }
    // OpenGL's rows run from the bottom up.
    pickX_ = x;
    pickY_ = height_ - 1 - y;
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, pickFramebuffer_);
    gl_.glViewport(0, 0, width_, height_);
    // Only the pixel asked for is cleared and drawn: a pick costs a fraction of a frame.
    gl_.glEnable(GL_SCISSOR_TEST);
    gl_.glScissor(pickX_, pickY_, 1, 1);
    shader_.use(gl_);
    shader_.setAmbient(gl_, 0x00FFFFFF);
    shader_.setAlphaTest(gl_, false);
    gl_.glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    gl_.glClearDepth(1.0);
    gl_.glDepthMask(GL_TRUE);
    gl_.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

std::uint16_t DisplayDevice::endPickScene() {
    std::uint16_t value = 0;
    gl_.glPixelStorei(GL_PACK_ALIGNMENT, 2);
    gl_.glReadPixels(pickX_, pickY_, 1, 1, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, &value);
    gl_.glDisable(GL_SCISSOR_TEST);
    gl_.glBindVertexArray(0);
    shader_.setAmbient(gl_, ambient_);
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    return value;
}

QImage DisplayDevice::grabFrame() {
    QImage image(width_, height_, QImage::Format_RGBA8888);
    if (!ready_) {
        image.fill(Qt::white);
        return image;
    }
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    gl_.glPixelStorei(GL_PACK_ALIGNMENT, 4);
    gl_.glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    // OpenGL's rows run from the bottom up.
    return image.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}

void DisplayDevice::copyFrameTo(GLuint framebuffer, int width, int height) {
    if (!ready_) {
        return;
    }
    gl_.glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    gl_.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
    gl_.glBlitFramebuffer(0, 0, width_, height_, 0, 0, width, height, GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    gl_.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

}  // namespace slipway
