#include "demoship/DemoTextures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace slipway::demo {

namespace {

// A repeatable value in 0 to 1 for a pixel.
float noise(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFF) / 65535.0f;
}

std::uint8_t channel(float value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgba shade(float r, float g, float b, float factor) {
    return Rgba{channel(r * factor), channel(g * factor), channel(b * factor), 255};
}

// Planks running along x, `plankHeight` pixels high, with butt joints staggered per plank.
Rgba plank(int x, int y, int plankHeight, int plankLength, float r, float g, float b,
           std::uint32_t seed) {
    const int row = y / plankHeight;
    const bool seam = y % plankHeight == 0;
    const bool butt = (x + row * plankLength / 3) % plankLength == 0;
    float factor = 0.85f + 0.25f * noise(x / 6, y, seed) + 0.08f * std::sin(x * 0.35f + row);
    factor *= 0.92f + 0.16f * noise(row, 0, seed + 1);
    if (seam || butt)
        factor *= 0.45f;
    return shade(r, g, b, factor);
}

}  // namespace

Picture hullTexture() {
    Picture p(128, 128);
    for (int y = 0; y < p.height; ++y) {
        // 0 at the keel (middle row), 1 at either rail.
        const float d = std::abs((static_cast<float>(y) + 0.5f) / 64.0f - 1.0f);
        for (int x = 0; x < p.width; ++x) {
            Rgba c;
            if (d > 0.9f) {
                c = shade(60, 40, 28, 0.9f + 0.2f * noise(x, y, 3));  // cap rail
            } else if (d > 0.84f) {
                c = shade(205, 160, 60, 0.95f + 0.1f * noise(x, y, 4));  // ochre stripe
            } else if (d > 0.6f) {
                c = shade(70, 50, 36, 0.85f + 0.25f * noise(x / 4, y, 5));  // upper strakes
                const int port = x % 16;
                if (d > 0.66f && d < 0.78f && port >= 5 && port < 11) {
                    const bool frame = port == 5 || port == 10 || d < 0.68f || d > 0.76f;
                    c = frame ? shade(150, 30, 25, 1) : shade(15, 12, 10, 1);
                }
            } else if (d > 0.3f) {
                c = plank(x, y, 6, 40, 150, 100, 58, 6);
            } else {
                c = plank(x, y, 6, 40, 225, 215, 190, 7);  // white bottom
            }
            p.at(x, y) = c;
        }
    }
    return p;
}

Picture deckTexture() {
    Picture p(64, 64);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x)
            p.at(x, y) = plank(x, y, 8, 32, 185, 150, 105, 11);
    }
    return p;
}

Picture woodTexture() {
    Picture p(32, 32);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float grain = 0.8f + 0.15f * std::sin(x * 1.3f + 3 * noise(0, y / 3, 12)) +
                                0.1f * noise(x, y, 13);
            p.at(x, y) = shade(125, 85, 50, grain);
        }
    }
    return p;
}

Picture canvasTexture(bool painted) {
    Picture p(128, 128);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            float factor = 0.94f + 0.06f * noise(x, y, painted ? 21 : 22);
            if (x % 16 == 0 || x % 16 == 15)
                factor *= 0.85f;  // seams between cloths
            if (y % 32 == 0)
                factor *= 0.92f;  // reef bands
            Rgba c = shade(238, 230, 208, factor);
            if (painted && (std::abs(x - 64) < 9 || std::abs(y - 64) < 9)) {
                c = shade(190, 28, 30, factor);
            }
            p.at(x, y) = c;
        }
    }
    return p;
}

Picture flagTexture() {
    Picture p(64, 32);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            // Red and gold stripes with a white ring in the upper corner at the hoist.
            Rgba c = (y / 4) % 2 == 0 ? Rgba{180, 25, 30, 255} : Rgba{225, 180, 50, 255};
            const float r =
                std::hypot(static_cast<float>(x) - 12.5f, static_cast<float>(y) - 10.5f);
            if (x < 26 && y < 21)
                c = Rgba{20, 40, 110, 255};
            if (r > 4.5f && r < 7.5f)
                c = Rgba{245, 245, 240, 255};
            p.at(x, y) = c;
        }
    }
    return p;
}

Picture pennantTexture() {
    Picture p(128, 16);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            Rgba c = y < 8 ? Rgba{210, 30, 30, 255} : Rgba{245, 245, 240, 255};
            // The swallow tail: a notch widening towards the fly end.
            const float notch = static_cast<float>(x - 96) * 8.0f / 32.0f;
            if (notch > 0 && std::abs(static_cast<float>(y) + 0.5f - 8.0f) < notch)
                c.a = 0;
            p.at(x, y) = c;
        }
    }
    return p;
}

Picture ropeTexture() {
    Picture p(32, 8);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float twist = 0.75f + 0.25f * std::sin((x + 2 * y) * 0.8f);
            p.at(x, y) = shade(170, 140, 90, twist);
        }
    }
    return p;
}

Picture markerTexture() {
    Picture p(8, 8);
    for (Rgba& c : p.pixels)
        c = Rgba{230, 40, 30, 255};
    return p;
}

Picture patchTexture() {
    Picture p(32, 32);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const float r =
                std::hypot(static_cast<float>(x) - 15.5f, static_cast<float>(y) - 15.5f);
            Rgba c = shade(40, 28, 20, 0.7f + 0.6f * noise(x, y, 31));
            if (r < 6)
                c = Rgba{10, 8, 6, 255};
            if (r > 15)
                c.a = 0;
            p.at(x, y) = c;
        }
    }
    return p;
}

}  // namespace slipway::demo
