#pragma once
// The OpenGL side of the texture store: one GL texture per store index, made from the store's
// 16-bit pixels (5:6:5 opaque, or 1:5:5:5 with the alpha bit on top), sampled nearest with
// wrapping like the hardware textures they replace. Index lookups of absent textures bind a
// white texture, which is what an empty texture stage showed.

#include <cstdint>
#include <vector>

#include <QOpenGLFunctions_3_3_Core>

namespace slipway {

enum class TexelFormat { Rgb565, Argb1555 };

struct TextureImage {
    int width = 0;
    int height = 0;
    TexelFormat format = TexelFormat::Rgb565;
    const std::uint16_t* pixels = nullptr;  // width × height, rows from the top
};

class DeviceTextures {
  public:
    void create(QOpenGLFunctions_3_3_Core& gl);
    // Deletes every texture, the white one included.
    void destroy(QOpenGLFunctions_3_3_Core& gl);

    // Makes (or remakes) the texture of store index `index` from `image`. False for an empty
    // or malformed image; the index then has no texture.
    bool upload(QOpenGLFunctions_3_3_Core& gl, std::size_t index, const TextureImage& image);
    bool has(std::size_t index) const { return index < ids_.size() && ids_[index] != 0; }
    // Deletes all store textures; the white one stays.
    void releaseAll(QOpenGLFunctions_3_3_Core& gl);

    // Binds store index `index` to unit 0, or the white texture when it has none.
    void bind(QOpenGLFunctions_3_3_Core& gl, std::size_t index) const;
    void bindNone(QOpenGLFunctions_3_3_Core& gl) const;

  private:
    std::vector<GLuint> ids_;
    GLuint white_ = 0;
};

}  // namespace slipway
