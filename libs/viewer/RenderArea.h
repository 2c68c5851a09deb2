#pragma once
// The widget that shows the display device's back surface inside the main window's frame. It
// owns the OpenGL context; the device draws into its own framebuffer from the idle loop and
// each paint copies the finished frame here. Mouse events pass through to the window, which
// decides about drags and the mode menu.

#include <functional>

#include <QOpenGLWidget>

#include "render/DisplayDevice.h"
#include "render/OffscreenContext.h"

namespace slipway {

class RenderArea : public QOpenGLWidget {
    Q_OBJECT
  public:
    RenderArea(DisplayDevice& device, QWidget* parent);

    // Whether the platform can give the viewers' OpenGL 3.3 core context at all. Where it cannot
    // (no display, an old driver) no render area may be made: the toolkit fails hard on it.
    static bool openGlAvailable();

    // Called once the context exists (current); creates the device and reports the outcome.
    std::function<void()> onContextReady;
    // Called, with the context current, just before the context goes away.
    std::function<void()> onContextGone;

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    DisplayDevice& device_;
};

}  // namespace slipway
