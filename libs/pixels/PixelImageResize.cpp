#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pixels/PixelImage.h"

namespace slipway {

bool PixelImage::resizeFrom(std::uint32_t width, std::uint32_t height, const PixelImage& source) {
    if (&source == this || source.isEmpty())
        return false;
    const std::uint32_t wanted = source.format() & ~formatFilled;
    if ((format() & ~formatFilled) != wanted || this->width() != width ||
        this->height() != height) {
        if (!create(width, height, wanted))
            return false;
    }
    addFormatFlags(formatFilled);

    // Area resampling in single precision: each destination pixel covers sx by sy source
    // pixels and takes their overlap-weighted mean, summed row by row, left to right.
    const float sx = static_cast<float>(source.width()) / static_cast<float>(width);
    const float sy = static_cast<float>(source.height()) / static_cast<float>(height);
    const float scale = 1.0f / (sx * sy);
    for (std::uint32_t y = 0; y < height; ++y) {
        const float fy = static_cast<float>(y) * sy;
        const float fy1 = fy + sy;
        const auto j0 = static_cast<std::int64_t>(std::floor(fy));
        const auto j1 = static_cast<std::int64_t>(std::ceil(fy1));
        for (std::uint32_t x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) * sx;
            const float fx1 = fx + sx;
            const auto i0 = static_cast<std::int64_t>(std::floor(fx));
            const auto i1 = static_cast<std::int64_t>(std::ceil(fx1));
            float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (std::int64_t j = j0; j < j1; ++j) {
                const float jf = static_cast<float>(j);
                const float oy = std::min(jf + 1.0f, fy1) - std::max(jf, fy);
                if (oy <= 0.0f)
                    continue;
                for (std::int64_t i = i0; i < i1; ++i) {
                    const float iF = static_cast<float>(i);
                    const float ox = std::min(iF + 1.0f, fx1) - std::max(iF, fx);
                    if (ox <= 0.0f)
                        continue;
                    const float weight = ox * oy;
                    const Bgra c = source.getPixel(static_cast<std::uint32_t>(i),
                                                   static_cast<std::uint32_t>(j));
                    sum[0] += static_cast<float>(c.b) * weight;
                    sum[1] += static_cast<float>(c.g) * weight;
                    sum[2] += static_cast<float>(c.r) * weight;
                    sum[3] += static_cast<float>(c.a) * weight;
                }
            }
            std::uint8_t out[4];
            for (int k = 0; k < 4; ++k) {
                const float v = std::trunc(sum[k] * scale);
                out[k] = static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f));
            }
            setPixel(x, y, Bgra{out[0], out[1], out[2], out[3]});
        }
    }
    return true;
}

bool PixelImage::makeMip(const PixelImage& source, int k) {
    if (&source == this || source.isEmpty() || k < 1 || k > 31)
        return false;
    release();
    const std::uint32_t width = source.width() >> k;
    const std::uint32_t height = source.height() >> k;
    if (width == 0 || height == 0)
        return true;
    if (!create(width, height, source.format()))
        return false;
    addFormatFlags(formatFilled);

    // Each pixel is the mean of its 2^k x 2^k block, rounded half up.
    const std::uint32_t side = 1u << k;
    const std::uint64_t count = std::uint64_t{side} * side;
    const std::uint64_t half = count / 2;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint64_t sum[4] = {0, 0, 0, 0};
            for (std::uint32_t j = 0; j < side; ++j) {
                for (std::uint32_t i = 0; i < side; ++i) {
                    const Bgra c = source.getPixel(x * side + i, y * side + j);
                    sum[0] += c.b;
                    sum[1] += c.g;
                    sum[2] += c.r;
                    sum[3] += c.a;
                }
            }
            setPixel(x, y,
                     Bgra{static_cast<std::uint8_t>((sum[0] + half) / count),
                          static_cast<std::uint8_t>((sum[1] + half) / count),
                          static_cast<std::uint8_t>((sum[2] + half) / count),
                          static_cast<std::uint8_t>((sum[3] + half) / count)});
        }
    }
    return true;
}

}  // namespace slipway
