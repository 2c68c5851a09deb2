#pragma once
// An OpenGL 3.3 core context without a window, for screenshots and GL tests. Needs a
// QGuiApplication whose platform offers OpenGL (on Linux: an X server, e.g. Xvfb).

#include <memory>

#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace slipway {

class OffscreenContext {
  public:
    // Creates the context and makes it current; false when no such context can be had.
    bool create();
    bool makeCurrent();
    void doneCurrent();
    QOpenGLContext* context() { return context_.get(); }

  private:
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> surface_;
};

// The surface format both viewers ask for: OpenGL 3.3 core with a 24-bit depth buffer.
QSurfaceFormat viewerSurfaceFormat();

}  // namespace slipway
