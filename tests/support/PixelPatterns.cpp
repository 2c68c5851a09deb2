#include "PixelPatterns.h"

namespace slipway::test {

const char* patternName(Pattern pattern) {
    switch (pattern) {
        case Pattern::Gradient:
            return "gradient";
        case Pattern::Noise:
            return "noise";
        case Pattern::FewColours:
            return "fewcolours";
        case Pattern::Blocks:
            return "blocks";
        case Pattern::Flat:
            return "flat";
    }
    return "?";
}

std::vector<Bgra> makePattern(Pattern pattern, std::uint32_t width, std::uint32_t height,
                              std::uint32_t seed) {
    std::vector<Bgra> out(std::size_t{width} * height);
    TestRandom random(seed);
    static const Bgra kColours[] = {{0, 0, 0, 255},     {255, 255, 255, 255}, {0, 0, 255, 255},
                                    {40, 200, 90, 255}, {250, 10, 130, 0},    {77, 77, 77, 255}};
    Bgra blocks[64];
    for (Bgra& b : blocks) {
        const std::uint32_t v = random.next();
        static const std::uint8_t kAlpha[] = {0, 63, 64, 65, 128, 200, 255, 255};
        b = Bgra{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                 static_cast<std::uint8_t>(v >> 16), kAlpha[(v >> 24) & 7]};
    }
    const Bgra flat{static_cast<std::uint8_t>(random.next()),
                    static_cast<std::uint8_t>(random.next()),
                    static_cast<std::uint8_t>(random.next()), 255};
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            Bgra& p = out[std::size_t{y} * width + x];
            switch (pattern) {
                case Pattern::Gradient:
                    p.b = static_cast<std::uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
                    p.g = static_cast<std::uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
                    p.r = static_cast<std::uint8_t>((x + y + seed) * 7);
                    p.a =
                        static_cast<std::uint8_t>((x * 3 + y * 5) * 255 / (3 * width + 5 * height));
                    break;
                case Pattern::Noise: {
                    const std::uint32_t v = random.next();
                    p = Bgra{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16),
                             static_cast<std::uint8_t>(v >> 24)};
                    break;
                }
                case Pattern::FewColours:
                    p = kColours[random.below(6)];
                    break;
                case Pattern::Blocks:
                    p = blocks[((y / 3) * 7 + x / 3) % 64];
                    break;
                case Pattern::Flat:
                    p = flat;
                    break;
            }
        }
    }
    return out;
}

}  // namespace slipway::test
