#pragma once
// The one shader pair of the display device. It stands in for the fixed-function state the
// viewers were designed around: row-vector world, view and projection matrices, a white point
// light without attenuation, a white material lit by the ambient colour, texture colour times
// lit colour with the texture's alpha, and an alpha test that drops alpha below 8/255.

#include <QOpenGLFunctions_3_3_Core>

#include "engine/Matrix4.h"
#include "engine/Vec3.h"

namespace slipway {

class FixedFunctionShader {
  public:
    // Attribute locations of the vertex streams.
    static constexpr GLuint kPosition = 0;
    static constexpr GLuint kNormal = 1;
    static constexpr GLuint kTexCoord = 2;

    // Compiles and links; false when the driver refuses (the log goes to `log`).
    bool create(QOpenGLFunctions_3_3_Core& gl, std::string& log);
    void destroy(QOpenGLFunctions_3_3_Core& gl);
    void use(QOpenGLFunctions_3_3_Core& gl) const { gl.glUseProgram(program_); }

    // Each call expects the program in use.
    void setWorld(QOpenGLFunctions_3_3_Core& gl, const Matrix4& m) const;
    void setView(QOpenGLFunctions_3_3_Core& gl, const Matrix4& m) const;
    void setProjection(QOpenGLFunctions_3_3_Core& gl, const Matrix4& m) const;
    void setLightPosition(QOpenGLFunctions_3_3_Core& gl, Vec3 p) const;
    // Red, green and blue of an 0xAARRGGBB value; the alpha byte plays no part in lighting.
    void setAmbient(QOpenGLFunctions_3_3_Core& gl, std::uint32_t argb) const;
    void setAlphaTest(QOpenGLFunctions_3_3_Core& gl, bool on) const;

  private:
    GLuint program_ = 0;
    GLint world_ = -1;
    GLint view_ = -1;
    GLint projection_ = -1;
    GLint light_ = -1;
    GLint ambient_ = -1;
    GLint alphaTest_ = -1;
    GLint sampler_ = -1;
};

}  // namespace slipway
