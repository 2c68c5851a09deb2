#pragma once
// One animation pose of a mesh part as stored after its triangles in edited CLF files and in
// CFF files: a translation, three angles in radians and a value carried through unchanged.

#include <cstddef>
#include <cstdint>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

namespace slipway {

inline constexpr std::size_t kKeyRecordSize = 28;

struct KeyRecord {
    float tx = 0, ty = 0, tz = 0;
    float ax = 0, ay = 0, az = 0;
    std::uint32_t extra = 0;

    bool operator==(const KeyRecord&) const = default;
};

KeyRecord readKeyRecord(ByteReader& in);
void writeKeyRecord(ByteWriter& out, const KeyRecord& key);

}  // namespace slipway
