#include "render/FixedFunctionShader.h"

#include <string>

namespace slipway {

namespace {

// Matrices are handed over as the engine's row-major arrays without transposing, so GLSL sees
// each as its transpose and the row-vector product p·W·V·P is written P·(V·(W·p)) here.
// The depth the projection yields runs 0..1; OpenGL clips at -1..1, hence z' = 2z - w.
// Lighting is per vertex, as the hardware pipeline did it: ambient plus the diffuse term of the
// point light (white material, white light, no attenuation), clamped to 0..1.
// Normals are transformed by the world rotation without renormalising, so a zero normal
// (a degenerate triangle) stays unlit instead of becoming NaN.
const char* kVertexSource = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 1) in vec3 normal;
layout(location = 2) in vec2 texCoord;
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
uniform vec3 lightPosition;
uniform vec3 ambient;
out vec3 litColour;
out vec2 uv;
void main() {
    vec4 worldPosition = world * vec4(position, 1.0);
    vec3 n = mat3(world) * normal;
    vec3 toLight = lightPosition - worldPosition.xyz;
    float distance = length(toLight);
    float diffuse = distance > 0.0 ? max(dot(n, toLight / distance), 0.0) : 0.0;
    litColour = clamp(ambient + vec3(diffuse), 0.0, 1.0);
    uv = texCoord;
    vec4 clip = projection * (view * worldPosition);
    clip.z = 2.0 * clip.z - clip.w;
    gl_Position = clip;
}
)";

// Colour: texture times lit colour; alpha: the texture's alone. With nothing bound the device
// binds a white texture, so untextured meshes show their lit colour.
const char* kFragmentSource = R"(#version 330 core
in vec3 litColour;
in vec2 uv;
uniform sampler2D diffuseMap;
uniform bool alphaTest;
out vec4 fragmentColour;
void main() {
    vec4 texel = texture(diffuseMap, uv);
    if (alphaTest && texel.a < 8.0 / 255.0) {
        discard;
    }
    fragmentColour = vec4(texel.rgb * litColour, texel.a);
}
)";

GLuint compile(QOpenGLFunctions_3_3_Core& gl, GLenum type, const char* source, std::string& log) {
    GLuint shader = gl.glCreateShader(type);
    gl.glShaderSource(shader, 1, &source, nullptr);
    gl.glCompileShader(shader);
    GLint ok = 0;
    gl.glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char text[1024] = {};
        gl.glGetShaderInfoLog(shader, sizeof text, nullptr, text);
        log += text;
        gl.glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

bool FixedFunctionShader::create(QOpenGLFunctions_3_3_Core& gl, std::string& log) {
    GLuint vertex = compile(gl, GL_VERTEX_SHADER, kVertexSource, log);
    GLuint fragment = compile(gl, GL_FRAGMENT_SHADER, kFragmentSource, log);
    if (vertex == 0 || fragment == 0) {
        gl.glDeleteShader(vertex);
        gl.glDeleteShader(fragment);
        return false;
    }
    program_ = gl.glCreateProgram();
    gl.glAttachShader(program_, vertex);
    gl.glAttachShader(program_, fragment);
    gl.glLinkProgram(program_);
    gl.glDeleteShader(vertex);
    gl.glDeleteShader(fragment);
    GLint ok = 0;
    gl.glGetProgramiv(program_, GL_LINK_STATUS, &ok);
    if (!ok) {
        char text[1024] = {};
        gl.glGetProgramInfoLog(program_, sizeof text, nullptr, text);
        log += text;
        destroy(gl);
        return false;
    }
    world_ = gl.glGetUniformLocation(program_, "world");
    view_ = gl.glGetUniformLocation(program_, "view");
    projection_ = gl.glGetUniformLocation(program_, "projection");
    light_ = gl.glGetUniformLocation(program_, "lightPosition");
    ambient_ = gl.glGetUniformLocation(program_, "ambient");
    alphaTest_ = gl.glGetUniformLocation(program_, "alphaTest");
    sampler_ = gl.glGetUniformLocation(program_, "diffuseMap");
    gl.glUseProgram(program_);
    gl.glUniform1i(sampler_, 0);
    gl.glUniform1i(alphaTest_, 0);
    return true;
}

void FixedFunctionShader::destroy(QOpenGLFunctions_3_3_Core& gl) {
    if (program_ != 0) {
        gl.glDeleteProgram(program_);
        program_ = 0;
    }
}

void FixedFunctionShader::setWorld(QOpenGLFunctions_3_3_Core& gl, const Matrix4& m) const {
    gl.glUniformMatrix4fv(world_, 1, GL_FALSE, m.m.data());
}

void FixedFunctionShader::setView(QOpenGLFunctions_3_3_Core& gl, const Matrix4& m) const {
    gl.glUniformMatrix4fv(view_, 1, GL_FALSE, m.m.data());
}

void FixedFunctionShader::setProjection(QOpenGLFunctions_3_3_Core& gl, const Matrix4& m) const {
    gl.glUniformMatrix4fv(projection_, 1, GL_FALSE, m.m.data());
}

void FixedFunctionShader::setLightPosition(QOpenGLFunctions_3_3_Core& gl, Vec3 p) const {
    gl.glUniform3f(light_, p.x, p.y, p.z);
}

void FixedFunctionShader::setAmbient(QOpenGLFunctions_3_3_Core& gl, std::uint32_t argb) const {
    auto channel = [argb](int shift) {
        return static_cast<float>((argb >> shift) & 0xFFu) / 255.0f;
    };
    gl.glUniform3f(ambient_, channel(16), channel(8), channel(0));
}

void FixedFunctionShader::setAlphaTest(QOpenGLFunctions_3_3_Core& gl, bool on) const {
    gl.glUniform1i(alphaTest_, on ? 1 : 0);
}

}  // namespace slipway
