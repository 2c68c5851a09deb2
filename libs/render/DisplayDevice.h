#pragma once
// The viewer window's connection to the 3D hardware: an OpenGL 3.3 core pipeline that renders
// into an off-screen colour + depth framebuffer the size of the render area (the back surface),
// which the window then copies onto the screen. Its set-up fixes the constants every frame
// relies on: projection, one white point light at (-5, 0, 0) without attenuation, a white
// material, the ambient colour, depth test and the alpha test reference 8/255.
// Every call needs the device's OpenGL context current on the calling thread.

#include <cstdint>
#include <string>

#include <QImage>
#include <QOpenGLFunctions_3_3_Core>

#include "engine/Matrix4.h"
#include "render/DeviceTextures.h"
#include "render/FixedFunctionShader.h"
#include "render/GpuMesh.h"
#include "engine/Projection.h"

namespace slipway {

inline constexpr Vec3 kLightPosition{-5.0f, 0.0f, 0.0f};
inline constexpr std::uint32_t kStartAmbient = 0x00FFFFFF;
inline constexpr const char* kDeviceFailedText = "Failed Create device";

class DisplayDevice {
  public:
    explicit DisplayDevice(ProjectionValues projection = kShipviewRules.projection)
        : projection_(projection) {}
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // Sets up everything on the current context. When the context cannot give OpenGL 3.3 core,
    // or a step fails, returns false with the text to show in `failure`.
    bool createDevice(int width, int height, std::string& failure);
    // Frees every GL object; safe to call twice or without a successful create.
    void releaseDevice();
    bool deviceReady() const { return ready_; }
    int width() const { return width_; }
    int height() const { return height_; }

    void setViewTransform(const Matrix4& view);
    void setWorldTransform(const Matrix4& world);
    void setAmbientLight(std::uint32_t argb);
    std::uint32_t ambientLight() const { return ambient_; }
    void setAlphaTest(bool on);
    // true: triangles that appear counter-clockwise on the screen are not drawn; false: none.
    void setCullCounterClockwise(bool on);

    // Binds the back surface, clears it to opaque white and depth 1.0. False when the device
    // is not ready (the frame is then skipped).
    bool beginScene();
    // Fills the back surface with the white of an empty view, as when the scene is cleared
    // and no frame follows. False when the device is not ready.
    bool clearFrame() { return beginScene(); }
    void endScene();
    void drawMesh(const GpuMesh& mesh) { drawGpuMesh(gl_, mesh); }

    // The pick surface: the size of the back surface, 16-bit 5:6:5 colour with depth. Begin
    // binds it for the pixel in column x, row y (from the top left) alone: only that pixel is
    // cleared (colour 0, depth 1.0) and drawn, with everything lit fully, so that a texture of
    // one colour draws exactly that colour. End reads the pixel and goes back to the normal
    // light. Begin is false when the device is not ready, the pixel lies outside, or the
    // surface cannot be made.
    bool beginPickScene(int x, int y);
    std::uint16_t endPickScene();

    // The back surface as an image, top row first.
    QImage grabFrame();
    // Copies the back surface onto `framebuffer` (e.g. a widget's), scaled to its size.
    void copyFrameTo(GLuint framebuffer, int width, int height);

    QOpenGLFunctions_3_3_Core& gl() { return gl_; }
    DeviceTextures& textures() { return textures_; }

  private:
    bool createPickSurface();
    void releasePickSurface();

    QOpenGLFunctions_3_3_Core gl_;
    FixedFunctionShader shader_;
    DeviceTextures textures_;
    ProjectionValues projection_;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint pickFramebuffer_ = 0;
    GLuint pickColourBuffer_ = 0;
    GLuint pickDepthBuffer_ = 0;
    int pickX_ = 0;
    int pickY_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::uint32_t ambient_ = kStartAmbient;
    bool ready_ = false;
    bool created_ = false;
};

}  // namespace slipway
