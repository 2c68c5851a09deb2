// Writes a photo-like 32-bit TGA with alpha for the benchmarks: smooth shading, hard-edged
// shapes, a little noise, and an alpha channel with transparent and soft regions.
// usage: pixels_bench_picture OUT.tga SIZE SEED

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "pixels/PixelImage.h"
#include "pixels/TgaFile.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: pixels_bench_picture OUT.tga SIZE SEED\n");
        return 2;
    }
    const auto size = static_cast<std::uint32_t>(std::atoi(argv[2]));
    std::uint32_t state = static_cast<std::uint32_t>(std::atoi(argv[3])) * 2654435761u + 1;
    auto random = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    slipway::PixelImage picture;
    if (!picture.create(size, size, 32 | slipway::formatAlpha))
        return 1;
    const double phase = (random() % 1000) / 100.0;
    for (std::uint32_t y = 0; y < size; ++y) {
        std::uint8_t* p = picture.row(y);
        for (std::uint32_t x = 0; x < size; ++x, p += 4) {
            const double u = static_cast<double>(x) / size, v = static_cast<double>(y) / size;
            const double wave = 0.5 + 0.5 * std::sin(9.0 * u + 5.0 * v + phase);
            const bool stripe = (static_cast<int>((u + v) * 12) & 1) != 0;
            const bool disc = (u - 0.5) * (u - 0.5) + (v - 0.4) * (v - 0.4) < 0.06;
            const int noise = static_cast<int>(random() % 13) - 6;
            auto clamp = [](double c) {
                return static_cast<std::uint8_t>(c < 0 ? 0 : c > 255 ? 255 : c);
            };
            p[0] = clamp(255 * u * wave + noise + (disc ? 80 : 0));
            p[1] = clamp(200 * v + 55 * wave + noise - (stripe ? 40 : 0));
            p[2] = clamp(disc ? 230 + noise : 120 + 100 * (1 - wave) + noise);
            p[3] = disc ? 255 : v > 0.85 ? 0 : clamp(255 * (1.0 - v * 0.8));
        }
    }
    const auto bytes = slipway::encodeTga(picture);
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        return 1;
    std::fclose(f);
    return 0;
}
