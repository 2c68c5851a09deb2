#pragma once
// A generated flag or pennant. The generator fills the fields; waving (animate) is added by
// the flag code.

#include <cstdint>

#include "engine/SceneObject.h"

namespace slipway {

class FlagObject : public SceneObject {
  public:
    FlagObject() { kind = ObjectKind::Flag; }

    int flagStyle = 0;          // the description record's flag type; 2 = pennant
    std::int32_t animTime = 0;  // milliseconds
    float flagLength = 0;
    float flagWidth = 0;
    int flagSegments = 0;
};

}  // namespace slipway
