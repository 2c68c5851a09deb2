#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "pixels/PixelImage.h"

namespace slipway {
namespace {

// The source cells one destination row or column covers, with their overlap lengths, in
// increasing order. Cells beyond the source are left out: they count as zero, and adding a
// zero contribution leaves a float sum unchanged.
struct Overlaps {
    std::vector<std::uint32_t> first;  // per destination coordinate: index into cell/length
    std::vector<std::uint32_t> count;
    std::vector<std::uint32_t> cell;
    std::vector<float> length;

    void build(std::uint32_t sourceSize, std::uint32_t size, float scale) {
        first.resize(size);
        count.resize(size);
        for (std::uint32_t d = 0; d < size; ++d) {
            const float f = static_cast<float>(d) * scale;
            const float f1 = f + scale;
            const auto i0 = static_cast<std::int64_t>(std::floor(f));
            const auto i1 = static_cast<std::int64_t>(std::ceil(f1));
            first[d] = static_cast<std::uint32_t>(cell.size());
            for (std::int64_t i = i0; i < i1 && i < std::int64_t{sourceSize}; ++i) {
                const float iF = static_cast<float>(i);
                const float o = std::min(iF + 1.0f, f1) - std::max(iF, f);
                if (o <= 0.0f)
                    continue;
                cell.push_back(static_cast<std::uint32_t>(i));
                length.push_back(o);
            }
            count[d] = static_cast<std::uint32_t>(cell.size()) - first[d];
        }
    }
};

}  // namespace

// Area resampling in single precision: each destination pixel covers sx by sy source pixels
// and takes their overlap-weighted mean, summed row by row, left to right. The overlaps are
// worked out once per row and column; the sums keep the per-pixel order and rounding.
bool PixelImage::resizeFrom(std::uint32_t width, std::uint32_t height, const PixelImage& source) {
    if (&source == this || source.isEmpty())
        return false;
    const std::uint32_t wanted = source.format() & ~formatFilled;
    if ((format() & ~formatFilled) != wanted || this->width() != width ||
        this->height() != height) {
        if (!create(width, height, wanted))
            return false;
    }

    const float sx = static_cast<float>(source.width()) / static_cast<float>(width);
    const float sy = static_cast<float>(source.height()) / static_cast<float>(height);
    const float scale = 1.0f / (sx * sy);
    Overlaps xs, ys;
    std::vector<Bgra> decoded;
    try {
        xs.build(source.width(), width, sx);
        ys.build(source.height(), height, sy);
        if (source.bitsPerPixel() != 32) {
            decoded.resize(std::size_t{source.width()} * source.height());
            source.appendBgra(decoded.data());
        }
    } catch (const std::bad_alloc&) {
        release();
        return false;
    }
    addFormatFlags(formatFilled);
    const Bgra* pixelsIn =
        decoded.empty() ? reinterpret_cast<const Bgra*>(source.pixels()) : decoded.data();
    const std::size_t sourceWidth = source.width();
    const bool direct = bitsPerPixel() == 32;

    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* rows = ys.cell.data() + ys.first[y];
        const float* rowLengths = ys.length.data() + ys.first[y];
        const std::uint32_t rowCount = ys.count[y];
        std::uint8_t* out = direct ? row(y) : nullptr;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t* cols = xs.cell.data() + xs.first[x];
            const float* colLengths = xs.length.data() + xs.first[x];
            const std::uint32_t colCount = xs.count[x];
            float sum0 = 0.0f, sum1 = 0.0f, sum2 = 0.0f, sum3 = 0.0f;
            for (std::uint32_t jj = 0; jj < rowCount; ++jj) {
                const float oy = rowLengths[jj];
                const Bgra* line = pixelsIn + rows[jj] * sourceWidth;
                for (std::uint32_t ii = 0; ii < colCount; ++ii) {
                    const float weight = colLengths[ii] * oy;
                    const Bgra c = line[cols[ii]];
                    sum0 += static_cast<float>(c.b) * weight;
                    sum1 += static_cast<float>(c.g) * weight;
                    sum2 += static_cast<float>(c.r) * weight;
                    sum3 += static_cast<float>(c.a) * weight;
                }
            }
            auto channel = [scale](float sum) {
                const float v = std::trunc(sum * scale);
                return static_cast<std::uint8_t>(std::clamp(v, 0.0f, 255.0f));
            };
            const Bgra value{channel(sum0), channel(sum1), channel(sum2), channel(sum3)};
            if (direct) {
                out[0] = value.b;
                out[1] = value.g;
                out[2] = value.r;
                out[3] = value.a;
                out += 4;
            } else {
                setPixel(x, y, value);
            }
        }
    }
    return true;
}

// Each pixel is the mean of its 2^k x 2^k block, rounded half up. Pictures of 24 and 32 bits
// are summed straight from their bytes, a row of blocks at a time.
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

    const std::uint32_t side = 1u << k;
    const std::uint64_t count = std::uint64_t{side} * side;
    const std::uint64_t half = count / 2;
    const std::uint32_t bits = source.bitsPerPixel();
    if (bits == 32 || bits == 24) {
        const std::uint32_t step = bits / 8;
        std::vector<std::uint64_t> sums;
        try {
            sums.resize(std::size_t{width} * 4);
        } catch (const std::bad_alloc&) {
            release();
            return false;
        }
        for (std::uint32_t y = 0; y < height; ++y) {
            std::fill(sums.begin(), sums.end(), 0);
            for (std::uint32_t j = 0; j < side; ++j) {
                const std::uint8_t* in = source.row(y * side + j);
                for (std::uint32_t x = 0; x < width; ++x) {
                    std::uint64_t* s = &sums[std::size_t{x} * 4];
                    std::uint32_t b = 0, g = 0, r = 0, a = 0;
                    // A block row has at most 2^31 pixels of 255: sum in 64 bits when needed.
                    if (side <= (1u << 20)) {
                        for (std::uint32_t i = 0; i < side; ++i, in += step) {
                            b += in[0];
                            g += in[1];
                            r += in[2];
                            a += step == 4 ? in[3] : 255;
                        }
                        s[0] += b;
                        s[1] += g;
                        s[2] += r;
                        s[3] += a;
                    } else {
                        for (std::uint32_t i = 0; i < side; ++i, in += step) {
                            s[0] += in[0];
                            s[1] += in[1];
                            s[2] += in[2];
                            s[3] += step == 4 ? in[3] : 255;
                        }
                    }
                }
            }
            std::uint8_t* out = row(y);
            for (std::uint32_t x = 0; x < width; ++x) {
                const std::uint64_t* s = &sums[std::size_t{x} * 4];
                out[0] = static_cast<std::uint8_t>((s[0] + half) / count);
                out[1] = static_cast<std::uint8_t>((s[1] + half) / count);
                out[2] = static_cast<std::uint8_t>((s[2] + half) / count);
                if (step == 4)
                    out[3] = static_cast<std::uint8_t>((s[3] + half) / count);
                out += step;
            }
        }
        return true;
    }

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
