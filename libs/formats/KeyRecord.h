#pragma once
// One animation pose of a mesh part as stored after its triangles in edited CLF files and in
// CFF files: a translation, three angles in radians and a value carried through unchanged.

#include <cstddef>
#include <cstdint>

#include "base/ByteWriter.h"
#include "formats/LittleEndian.h"

namespace slipway {

inline constexpr std::size_t kKeyRecordSize = 28;

struct KeyRecord {
    float tx = 0, ty = 0, tz = 0;
    float ax = 0, ay = 0, az = 0;
    std::uint32_t extra = 0;

    bool operator==(const KeyRecord&) const = default;
};

// Decodes a key record from a pointer to at least kKeyRecordSize bytes.
inline KeyRecord decodeKeyRecord(const std::uint8_t* r) {
    return KeyRecord{le::f32(r),      le::f32(r + 4),  le::f32(r + 8), le::f32(r + 12),
                     le::f32(r + 16), le::f32(r + 20), le::u32(r + 24)};
}
void writeKeyRecord(ByteWriter& out, const KeyRecord& key);

}  // namespace slipway
