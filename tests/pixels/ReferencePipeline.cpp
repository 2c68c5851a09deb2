#include "ReferencePipeline.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ReferenceQuantizer.h"

namespace slipway::reference {

bool Picture::create(std::uint32_t w, std::uint32_t h, int bitsPerPixel, bool withAlpha) {
    bytes.clear();
    bpp = 0;
    alpha = false;
    if (w == 0 || h == 0)
        return false;
    if (bitsPerPixel != 8 && bitsPerPixel != 12 && bitsPerPixel != 15 && bitsPerPixel != 16 &&
        bitsPerPixel != 24 && bitsPerPixel != 32) {
        return false;
    }
    width = w;
    height = h;
    bpp = bitsPerPixel;
    alpha = withAlpha;
    bytes.assign(std::size_t{w} * h * bytesPerPixel(), 0);
    return true;
}

Bgra Picture::get(std::uint32_t x, std::uint32_t y) const {
    if (bpp == 0 || x >= width || y >= height)
        return Bgra{0, 0, 0, 0};
    const std::uint8_t* p = &bytes[(std::size_t{y} * width + x) * bytesPerPixel()];
    const unsigned v = p[0] | (bpp > 8 ? p[1] << 8 : 0);
    Bgra out{};
    switch (bpp) {
        case 8:
            out = Bgra{palette[p[0] * 3], palette[p[0] * 3 + 1], palette[p[0] * 3 + 2],
                       static_cast<std::uint8_t>(alpha && p[0] == 0 ? 0 : 255)};
            break;
        case 12:
            out.b = static_cast<std::uint8_t>((v & 0xF) << 4);
            out.g = static_cast<std::uint8_t>(v & 0xF0);
            out.r = static_cast<std::uint8_t>(((v >> 8) & 0xF) << 4);
            out.a = static_cast<std::uint8_t>(alpha ? (v >> 12) << 4 : 255);
            break;
        case 15:
            out.b = static_cast<std::uint8_t>((v & 0x1F) << 3);
            out.g = static_cast<std::uint8_t>(((v >> 5) & 0x1F) << 3);
            out.r = static_cast<std::uint8_t>(((v >> 10) & 0x1F) << 3);
            out.a = static_cast<std::uint8_t>(alpha ? ((v & 0x8000) ? 255 : 0) : 255);
            break;
        case 16:
            out.b = static_cast<std::uint8_t>((v & 0x1F) << 3);
            out.g = static_cast<std::uint8_t>(((v >> 5) & 0x3F) << 2);
            out.r = static_cast<std::uint8_t>((v >> 11) << 3);
            out.a = 255;
            break;
        case 24:
            out = Bgra{p[0], p[1], p[2], 255};
            break;
        case 32:
            out = Bgra{p[0], p[1], p[2], p[3]};
            break;
    }
    return out;
}

void Picture::set(std::uint32_t x, std::uint32_t y, Bgra c) {
    if (bpp == 0 || x >= width || y >= height)
        return;
    std::uint8_t* p = &bytes[(std::size_t{y} * width + x) * bytesPerPixel()];
    unsigned v = 0;
    switch (bpp) {
        case 8: {
            if (alpha && c.a < 64) {
                p[0] = 0;
                return;
            }
            int best = alpha ? 1 : 0;
            long bestDistance = -1;
            for (int i = alpha ? 1 : 0; i <= 255; ++i) {
                const long db = palette[i * 3] - c.b, dg = palette[i * 3 + 1] - c.g,
                           dr = palette[i * 3 + 2] - c.r;
                const long d = db * db + 3 * dg * dg + 2 * dr * dr;
                if (bestDistance < 0 || d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            p[0] = static_cast<std::uint8_t>(best);
            return;
        }
        case 12:
            v = (c.a >> 4) << 12 | (c.r >> 4) << 8 | (c.g >> 4) << 4 | (c.b >> 4);
            break;
        case 15:
            v = (c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3) | (c.a > 64 ? 0x8000 : 0);
            break;
        case 16:
            v = (c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3);
            break;
        case 24:
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            return;
        case 32:
            p[0] = c.b;
            p[1] = c.g;
            p[2] = c.r;
            p[3] = c.a;
            return;
    }
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

bool convertFrom(Picture& target, const Picture& source) {
    if (&target == &source || source.bpp == 0)
        return false;
    if (target.bpp == 0) {
        if (!target.create(source.width, source.height, source.bpp, source.alpha))
            return false;
    }
    if (target.width != source.width || target.height != source.height)
        return false;
    if (target.bpp == source.bpp) {
        target.bytes = source.bytes;
        if (target.bpp == 8)
            std::memcpy(target.palette, source.palette, 768);
        if (target.alpha && !source.alpha) {
            for (std::uint32_t y = 0; y < target.height; ++y) {
                for (std::uint32_t x = 0; x < target.width; ++x) {
                    std::uint8_t* p =
                        &target.bytes[(std::size_t{y} * target.width + x) * target.bytesPerPixel()];
                    if (target.bpp == 12)
                        p[1] |= 0xF0;
                    if (target.bpp == 15)
                        p[1] |= 0x80;
                    if (target.bpp == 32)
                        p[3] = 255;
                }
            }
        }
        return true;
    }
    const std::uint32_t w = target.width;
    std::vector<std::int8_t> cells[2] = {std::vector<std::int8_t>(w * 3, 0),
                                         std::vector<std::int8_t>(w * 3, 0)};
    auto add = [](std::int8_t& cell, int amount) {
        cell = static_cast<std::int8_t>(static_cast<std::uint8_t>(cell + amount));
    };
    for (std::uint32_t y = 0; y < target.height; ++y) {
        std::vector<std::int8_t>& current = cells[y % 2];
        std::vector<std::int8_t>& next = cells[(y + 1) % 2];
        for (std::uint32_t x = 0; x < w; ++x) {
            const Bgra s = source.get(x, y);
            const int in[3] = {s.b, s.g, s.r};
            int value[3];
            for (int c = 0; c < 3; ++c)
                value[c] = std::clamp(in[c] + current[x * 3 + c], 0, 255);
            const Bgra v{static_cast<std::uint8_t>(value[0]), static_cast<std::uint8_t>(value[1]),
                         static_cast<std::uint8_t>(value[2]), s.a};
            target.set(x, y, v);
            const Bgra back = target.get(x, y);
            const int readBack[3] = {back.b, back.g, back.r};
            for (int c = 0; c < 3; ++c) {
                const int e = value[c] - readBack[c];
                current[x * 3 + c] = 0;
                add(next[x * 3 + c], (5 * e + 8) >> 4);
                if (x >= 1)
                    add(next[(x - 1) * 3 + c], (3 * e + 8) >> 4);
                if (x + 1 < w) {
                    add(current[(x + 1) * 3 + c], (7 * e + 8) >> 4);
                    add(next[(x + 1) * 3 + c], (e + 8) >> 4);
                }
            }
        }
    }
    return true;
}

bool resizeFrom(Picture& target, std::uint32_t width, std::uint32_t height, const Picture& source) {
    if (&target == &source || source.bpp == 0)
        return false;
    if (!(target.bpp == source.bpp && target.alpha == source.alpha && target.width == width &&
          target.height == height)) {
        if (!target.create(width, height, source.bpp, source.alpha))
            return false;
    }
    const float sx = static_cast<float>(source.width) / static_cast<float>(width);
    const float sy = static_cast<float>(source.height) / static_cast<float>(height);
    const float scale = 1.0f / (sx * sy);
    for (std::uint32_t y = 0; y < height; ++y) {
        const float fy = static_cast<float>(y) * sy;
        const float fy2 = fy + sy;
        for (std::uint32_t x = 0; x < width; ++x) {
            const float fx = static_cast<float>(x) * sx;
            const float fx2 = fx + sx;
            float sum[4] = {0.0f, 0.0f, 0.0f, 0.0f};
            for (long j = static_cast<long>(std::floor(fy)); static_cast<float>(j) < fy2; ++j) {
                if (static_cast<float>(j + 1) <= fy)
                    continue;
                const float oy =
                    std::min(static_cast<float>(j + 1), fy2) - std::max(static_cast<float>(j), fy);
                for (long i = static_cast<long>(std::floor(fx)); static_cast<float>(i) < fx2; ++i) {
                    if (static_cast<float>(i + 1) <= fx)
                        continue;
                    const float ox = std::min(static_cast<float>(i + 1), fx2) -
                                     std::max(static_cast<float>(i), fx);
                    const Bgra p =
                        source.get(static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(j));
                    const float w = ox * oy;
                    sum[0] += static_cast<float>(p.b) * w;
                    sum[1] += static_cast<float>(p.g) * w;
                    sum[2] += static_cast<float>(p.r) * w;
                    sum[3] += static_cast<float>(p.a) * w;
                }
            }
            std::uint8_t out[4];
            for (int c = 0; c < 4; ++c) {
                const float v = sum[c] * scale;
                out[c] = static_cast<std::uint8_t>(std::clamp(static_cast<int>(v), 0, 255));
            }
            target.set(x, y, Bgra{out[0], out[1], out[2], out[3]});
        }
    }
    return true;
}

bool makeMip(Picture& target, const Picture& source, int k) {
    target.bytes.clear();
    target.bpp = 0;
    const std::uint32_t w = source.width >> k, h = source.height >> k;
    if (source.bpp == 0 || w == 0 || h == 0)
        return true;
    if (!target.create(w, h, source.bpp, source.alpha))
        return false;
    const std::uint32_t side = 1u << k;
    const std::uint64_t area = std::uint64_t{1} << (2 * k);
    for (std::uint32_t y = 0; y < h; ++y) {
        for (std::uint32_t x = 0; x < w; ++x) {
            std::uint64_t sum[4] = {0, 0, 0, 0};
            for (std::uint32_t j = 0; j < side; ++j) {
                for (std::uint32_t i = 0; i < side; ++i) {
                    const Bgra p = source.get(x * side + i, y * side + j);
                    sum[0] += p.b;
                    sum[1] += p.g;
                    sum[2] += p.r;
                    sum[3] += p.a;
                }
            }
            std::uint8_t out[4];
            for (int c = 0; c < 4; ++c)
                out[c] = static_cast<std::uint8_t>((sum[c] + area / 2) / area);
            target.set(x, y, Bgra{out[0], out[1], out[2], out[3]});
        }
    }
    return true;
}

void toggleAlpha(Picture& picture) {
    if (!picture.alpha)
        return;
    const int n = picture.bytesPerPixel();
    for (std::size_t i = 0; i < picture.bytes.size(); i += n) {
        if (picture.bpp == 12)
            picture.bytes[i + 1] ^= 0xF0;
        if (picture.bpp == 15)
            picture.bytes[i + 1] ^= 0x80;
        if (picture.bpp == 32)
            picture.bytes[i + 3] ^= 0xFF;
    }
}

void scaleAlpha(Picture& picture, float factor) {
    if (!picture.alpha)
        return;
    const int k = static_cast<int>(factor * 65536);
    int mask = 0, at = 0;
    if (picture.bpp == 12)
        mask = 0xF0, at = 1;
    if (picture.bpp == 15)
        mask = 0x80, at = 1;
    if (picture.bpp == 32)
        mask = 0xFF, at = 3;
    if (mask == 0)
        return;
    const int n = picture.bytesPerPixel();
    for (std::size_t i = 0; i < picture.bytes.size(); i += n) {
        const int b = picture.bytes[i + at];
        picture.bytes[i + at] = static_cast<std::uint8_t>((((b * k) >> 16) & mask) | (b & ~mask));
    }
}

void copyLines(Picture& picture, int mode) {
    if (picture.bpp == 0)
        return;
    const std::size_t n = picture.bytesPerPixel();
    const std::size_t row = n * picture.width;
    std::uint8_t* first = picture.bytes.data();
    std::uint8_t* last = first + row * (picture.height - 1);
    if (mode & 1)
        std::memmove(last, first, row);
    if (mode & 2)
        std::memmove(first, last, row);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        std::uint8_t* r = first + row * y;
        if (mode & 4)
            std::memmove(r + row - n, r, n);
        if (mode & 8)
            std::memmove(r, r + row - n, n);
    }
}

void buildPalette(const Picture* levels, int count, std::uint8_t palette[768]) {
    std::vector<Bgra> population;
    for (int i = 0; i < count; ++i) {
        if (levels[i].bpp == 0)
            continue;
        for (std::uint32_t y = 0; y < levels[i].height; ++y) {
            for (std::uint32_t x = 0; x < levels[i].width; ++x) {
                population.push_back(levels[i].get(x, y));
            }
        }
    }
    PaletteEntry working[256] = {};
    if (levels[0].alpha) {
        reference::quantize(population.data(), population.size(), working + 1, 255);
    } else {
        reference::quantize(population.data(), population.size(), working, 256);
    }
    for (int i = 0; i < 256; ++i) {
        palette[i * 3] = working[i].blue;
        palette[i * 3 + 1] = working[i].green;
        palette[i * 3 + 2] = working[i].red;
    }
}

namespace {

int levelCount(const ChainSettings& s, std::uint32_t w, std::uint32_t h) {
    const std::uint32_t m = std::min(w, h);
    int cap = 0;
    while (cap < 15 && (m >> (cap + 1)) != 0)
        ++cap;
    int n = s.numberMips ? std::min(cap, s.slider) : cap + 1 - s.slider;
    return std::clamp(n, 1, 16);
}

std::uint32_t roundUp(std::uint32_t v) {
    if ((v & (v - 1)) == 0)
        return v;
    std::uint32_t top = 1;
    while (top <= v / 2)
        top <<= 1;
    return top * 2;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> convertToTf(Picture source, const Settings& settings,
                                      const std::string& path, std::vector<std::string>* messages) {
    const std::uint32_t w2 = roundUp(source.width), h2 = roundUp(source.height);
    if (w2 != source.width || h2 != source.height) {
        messages->push_back("Texture " + path + " have error size");
        Picture work;
        work.create(source.width, source.height, 32, source.alpha);
        convertFrom(work, source);
        resizeFrom(source, w2, h2, work);
    }
    Picture master[16];
    master[0].create(source.width, source.height, 32, source.alpha);
    convertFrom(master[0], source);
    for (int k = 1; k < 16; ++k)
        makeMip(master[k], master[0], k);

    const int copyMode = settings.horizontalCopy * 4 + settings.verticalCopy;
    Picture levels16[16], levels8[16];
    int count16 = 0, count8 = 0;
    if (settings.chain16.enabled) {
        const int n = levelCount(settings.chain16, source.width, source.height);
        const float a = static_cast<float>(10 - settings.attenuationPosition) / 10.0f;
        for (int L = 0; L < n && master[L].bpp != 0; ++L) {
            Picture& level = levels16[L];
            const int bpp = master[L].alpha ? (settings.fourBitAlpha ? 12 : 15) : 16;
            level.create(master[L].width, master[L].height, bpp, master[L].alpha);
            convertFrom(level, master[L]);
            if (level.alpha && a < 1.0f) {
                const float f = n == 1 ? 1.0f
                                       : a + (1.0f - a) * (1.0f - static_cast<float>(L) /
                                                                      static_cast<float>(n - 1));
                scaleAlpha(level, f);
            }
            if (copyMode != 0)
                copyLines(level, copyMode);
            ++count16;
        }
    }
    std::uint8_t palette[768] = {};
    if (settings.chain8.enabled) {
        const int n = levelCount(settings.chain8, source.width, source.height);
        buildPalette(master, 16, palette);
        for (int L = 0; L < n && master[L].bpp != 0; ++L) {
            Picture& level = levels8[L];
            std::memcpy(level.palette, palette, 768);
            level.create(master[L].width, master[L].height, 8, master[L].alpha);
            convertFrom(level, master[L]);
            if (copyMode != 0)
                copyLines(level, copyMode);
            ++count8;
        }
    }

    std::vector<std::uint8_t> out(5, 0);
    int code = 0;
    if (count16 > 0)
        code = levels16[0].bpp == 15 ? 1 : levels16[0].bpp == 12 ? 2 : 0;
    out.push_back(static_cast<std::uint8_t>(code));
    out.push_back(static_cast<std::uint8_t>(count16));
    out.push_back(static_cast<std::uint8_t>(count8));
    const Picture& first = count16 > 0 ? levels16[0] : levels8[0];
    put32(out, first.width);
    put32(out, first.height);
    for (int i = 0; i < count16; ++i) {
        toggleAlpha(levels16[i]);
        out.insert(out.end(), levels16[i].bytes.begin(), levels16[i].bytes.end());
    }
    if (count8 > 0) {
        for (int i = 0; i < 256; ++i) {
            out.push_back(levels8[0].palette[i * 3 + 2]);
            out.push_back(levels8[0].palette[i * 3 + 1]);
            out.push_back(levels8[0].palette[i * 3]);
            out.push_back(0);
        }
        for (int i = 0; i < count8; ++i) {
            out.insert(out.end(), levels8[i].bytes.begin(), levels8[i].bytes.end());
        }
    }
    return out;
}

}  // namespace slipway::reference
