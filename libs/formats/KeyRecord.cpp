#include "formats/KeyRecord.h"

namespace slipway {

void writeKeyRecord(ByteWriter& out, const KeyRecord& key) {
    out.f32(key.tx);
    out.f32(key.ty);
    out.f32(key.tz);
    out.f32(key.ax);
    out.f32(key.ay);
    out.f32(key.az);
    out.u32(key.extra);
}

}  // namespace slipway
