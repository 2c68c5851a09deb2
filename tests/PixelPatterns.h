#pragma once
// Deterministic pictures for pixel tests: every kind of content that takes a different path
// through the converters (smooth ramps, noise, a handful of colours, hard edges, alpha).

#include <cstdint>
#include <vector>

#include "pixels/Bgra.h"

namespace slipway::test {

enum class Pattern {
    Gradient,    // smooth ramps in every channel, alpha ramp
    Noise,       // every channel random
    FewColours,  // random choice among six colours, alpha 0 or 255
    Blocks,      // 3 x 3 blocks of random colours, random alpha levels
    Flat,        // one colour
};

inline constexpr Pattern kAllPatterns[] = {Pattern::Gradient, Pattern::Noise, Pattern::FewColours,
                                           Pattern::Blocks, Pattern::Flat};

const char* patternName(Pattern pattern);

// width x height pixels, row 0 first.
std::vector<Bgra> makePattern(Pattern pattern, std::uint32_t width, std::uint32_t height,
                              std::uint32_t seed);

// A small deterministic generator (xorshift) for tests.
class TestRandom {
  public:
    explicit TestRandom(std::uint32_t seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
    std::uint32_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }

  private:
    std::uint32_t state_;
};

}  // namespace slipway::test
