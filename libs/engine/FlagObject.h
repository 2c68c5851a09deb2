#pragma once
// A generated flag or pennant (engine/Flag.h makes them). animate waves the strip in the wind.

#include <cstdint>

#include "engine/SceneObject.h"

namespace slipway {

class FlagObject : public SceneObject {
  public:
    FlagObject() { kind = ObjectKind::Flag; }

    // Advances the wave by `elapsedMs` and recomputes the strip's positions; returns 1.
    int animate(std::uint32_t elapsedMs) override;

    int flagStyle = 0;          // the description record's flag type; 2 = pennant
    std::int32_t animTime = 0;  // milliseconds
    float flagLength = 0;
    float flagWidth = 0;
    int flagSegments = 0;
};

}  // namespace slipway
