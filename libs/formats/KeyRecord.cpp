#include "formats/KeyRecord.h"

namespace slipway {

KeyRecord readKeyRecord(ByteReader& in) {
    KeyRecord k;
    k.tx = in.f32();
    k.ty = in.f32();
    k.tz = in.f32();
    k.ax = in.f32();
    k.ay = in.f32();
    k.az = in.f32();
    k.extra = in.u32();
    return k;
}

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
