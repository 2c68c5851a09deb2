#include "engine/FlagObject.h"

#include <cmath>
#include <numbers>

#include "engine/Flag.h"

namespace slipway {

namespace {

constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;

bool isPennant(int style) {
    return style == kPennantStyle;
}

Vec3 unitOrZero(Vec3 a) {
    const float len = length(a);
    if (!(len > 0) || !std::isfinite(len))
        return {};
    return normalize(a);
}

}  // namespace

int flagWavePeriod(float wind) {
    return static_cast<int>((20.0f - wind) * 205.0f + 300.0f);
}

int FlagObject::animate(std::uint32_t elapsedMs) {
    if (levelCount < 1 || lodMeshes[0].empty() || flagSegments <= 0)
        return 1;
    MeshPart& mesh = lodMeshes[0][0];
    const bool pennant = isPennant(flagStyle);
    const int rows = pennant ? 2 : 3;
    const int S = flagSegments;
    if (mesh.vertices.size() < static_cast<std::size_t>(rows * (S + 1)))
        return 1;

    const float W = kWindStrength;
    const int period = flagWavePeriod(W);
    const int waves = pennant ? 3 : 1;
    // Summed in 64 bits so a long pause between passes cannot overflow the clock.
    std::int64_t time = static_cast<std::int64_t>(animTime) + elapsedMs;
    if (time >= static_cast<std::int64_t>(period) * waves)
        time = 0;
    animTime = static_cast<std::int32_t>(time);

    const float phase = kTwoPi * static_cast<float>(animTime) / static_cast<float>(period);
    const float k = static_cast<float>(waves) * kTwoPi / static_cast<float>(S);
    const float step = flagLength / static_cast<float>(S);

    Vec3 D{0, (W - 20.0f) * 0.045f, 1};
    if (pennant)
        D = normalize(D);
    D = scaleBy(D, step);
    const Vec3 H{0, pennant ? flagWidth : flagWidth / 2, 0};
    const Vec3 s1 = unitOrZero(cross(D, H));
    const Vec3 s2 = unitOrZero(negate(cross(D, s1)));

    const auto put = [&mesh, rows](int c, int r, Vec3 p) {
        RenderVertex& v = mesh.vertices[static_cast<std::size_t>(c * rows + r)];
        v.x = p.x;
        v.y = p.y;
        v.z = p.z;
    };

    if (!pennant) {
        float A, B;
        const bool island = flagStyle == 1;
        if (W > 8) {
            A = island ? 0.075f - (W - 8) * 0.005f : 0.025f - (W - 8) * 0.00166f;
        } else {
            A = island ? (W - 1) * 0.00857f + 0.015f : (W - 1) * 0.0032f + 0.005f;
        }
        B = island ? 0.003f : 0.001f;
        put(0, 0, Vec3{});
        put(0, 1, H);
        put(0, 2, scaleBy(H, 2));
        for (int c = 1; c <= S; ++c) {
            const float a = static_cast<float>(c) * k - phase;
            const float d1 = std::sin(a) * A * static_cast<float>(c) / 10.0f;
            const float d2 = std::sin(2 * a) * B * static_cast<float>(c) / 10.0f;
            Vec3 bottom = add(scaleBy(D, static_cast<float>(c)), scaleBy(s2, d2));
            const Vec3 middle = add(add(bottom, H), scaleBy(s1, d1));
            const Vec3 top = add(add(bottom, scaleBy(H, 2)), scaleBy(s1, 0.8f * d1));
            bottom = add(bottom, scaleBy(s1, 0.8f * d1));
            put(c, 0, bottom);
            put(c, 1, middle);
            put(c, 2, top);
        }
        return 1;
    }

    const float e1 = W > 8 ? 0.025f - (W - 8) * 0.00166f : (W - 1) * 0.0025f + 0.005f;
    const float e2 = 0.001f;
    const float e3 = W > 8 ? (20 - W) * 0.00088f : W * 0.00132f;
    const Vec3 along = unitOrZero(D);
    const float segments = static_cast<float>(S);
    put(0, 0, Vec3{});
    put(0, 1, H);
    for (int c = 1; c <= S; ++c) {
        const float a = static_cast<float>(c) * k - phase;
        const float share = static_cast<float>(c) / segments;
        const float f1 = std::sin(a) * e1 * share + std::sin(a / 3) * 2 * e1 * share;
        const float f2 = std::sin(a) * 8 * e2 * share;
        const float f3 = std::sin(2 * a) * e3 * share;
        Vec3 bottom = add(add(scaleBy(D, static_cast<float>(c)), scaleBy(s1, f1)), scaleBy(s2, f2));
        // Near the hoist the cloth is held; further out the wave also shortens the strip.
        if (c > 2)
            bottom = subtract(bottom, scaleBy(along, f3));
        put(c, 0, bottom);
        put(c, 1, add(bottom, scaleBy(s2, flagWidth)));
    }
    return 1;
}

}  // namespace slipway
