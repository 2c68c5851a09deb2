#include "render/DeviceTextures.h"

namespace slipway {

namespace {

void setSampling(QOpenGLFunctions_3_3_Core& gl) {
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    gl.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
}

}  // namespace

void DeviceTextures::create(QOpenGLFunctions_3_3_Core& gl) {
    const std::uint16_t whitePixel = 0xFFFF;
    gl.glGenTextures(1, &white_);
    gl.glBindTexture(GL_TEXTURE_2D, white_);
    setSampling(gl);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB5_A1, 1, 1, 0, GL_BGRA, GL_UNSIGNED_SHORT_1_5_5_5_REV,
                    &whitePixel);
}

void DeviceTextures::destroy(QOpenGLFunctions_3_3_Core& gl) {
    releaseAll(gl);
    if (white_ != 0) {
        gl.glDeleteTextures(1, &white_);
        white_ = 0;
    }
}

bool DeviceTextures::upload(QOpenGLFunctions_3_3_Core& gl, std::size_t index,
                            const TextureImage& image) {
    if (index >= ids_.size()) {
        ids_.resize(index + 1, 0);
    }
    if (ids_[index] != 0) {
        gl.glDeleteTextures(1, &ids_[index]);
        ids_[index] = 0;
    }
    if (image.width <= 0 || image.height <= 0 || image.pixels == nullptr) {
        return false;
    }
    GLuint id = 0;
    gl.glGenTextures(1, &id);
    gl.glBindTexture(GL_TEXTURE_2D, id);
    setSampling(gl);
    gl.glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    if (image.format == TexelFormat::Rgb565) {
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB565, image.width, image.height, 0, GL_RGB,
                        GL_UNSIGNED_SHORT_5_6_5, image.pixels);
    } else {
        gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB5_A1, image.width, image.height, 0, GL_BGRA,
                        GL_UNSIGNED_SHORT_1_5_5_5_REV, image.pixels);
    }
    ids_[index] = id;
    return true;
}

void DeviceTextures::releaseAll(QOpenGLFunctions_3_3_Core& gl) {
    for (GLuint& id : ids_) {
        if (id != 0) {
            gl.glDeleteTextures(1, &id);
            id = 0;
        }
    }
}

void DeviceTextures::bind(QOpenGLFunctions_3_3_Core& gl, std::size_t index) const {
    gl.glActiveTexture(GL_TEXTURE0);
    gl.glBindTexture(GL_TEXTURE_2D, has(index) ? ids_[index] : white_);
}

void DeviceTextures::bindNone(QOpenGLFunctions_3_3_Core& gl) const {
    gl.glActiveTexture(GL_TEXTURE0);
    gl.glBindTexture(GL_TEXTURE_2D, white_);
}

}  // namespace slipway
