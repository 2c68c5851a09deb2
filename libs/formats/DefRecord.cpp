#include "formats/DefRecord.h"

#include <algorithm>
#include <cstring>

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

namespace slipway {

std::string defFileName(const DefRecord& record) {
    const auto* end =
        static_cast<const char*>(std::memchr(record.File.data(), 0, record.File.size()));
    const std::size_t n =
        end ? static_cast<std::size_t>(end - record.File.data()) : record.File.size();
    return std::string(record.File.data(), n);
}

void setDefFileName(DefRecord& record, std::string_view name) {
    const std::size_t n = std::min(name.size(), record.File.size() - 1);
    std::memcpy(record.File.data(), name.data(), n);
    record.File[n] = '\0';
}

DefRecord readDefRecord(ByteReader& reader) {
    DefRecord r;
    if (!reader.canRead(kDefRecordSize)) {
        reader.skip(kDefRecordSize);  // fails the reader
        return r;
    }
    r.Num = reader.i32();
    r.Class = reader.i32();
    r.Type = reader.i32();
    reader.bytes(r.File.data(), r.File.size());
    r.X = reader.f32();
    r.Y = reader.f32();
    r.Z = reader.f32();
    r.Ax = reader.f32();
    r.Ay = reader.f32();
    r.Az = reader.f32();
    r.Link = reader.i32();
    return r;
}

void writeDefRecord(ByteWriter& writer, const DefRecord& record) {
    writer.i32(record.Num);
    writer.i32(record.Class);
    writer.i32(record.Type);
    writer.bytes({reinterpret_cast<const std::uint8_t*>(record.File.data()), record.File.size()});
    writer.f32(record.X);
    writer.f32(record.Y);
    writer.f32(record.Z);
    writer.f32(record.Ax);
    writer.f32(record.Ay);
    writer.f32(record.Az);
    writer.i32(record.Link);
}

namespace {
bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}
}  // namespace

bool operator==(const DefRecord& a, const DefRecord& b) {
    return a.Num == b.Num && a.Class == b.Class && a.Type == b.Type && a.File == b.File &&
           sameBits(a.X, b.X) && sameBits(a.Y, b.Y) && sameBits(a.Z, b.Z) && sameBits(a.Ax, b.Ax) &&
           sameBits(a.Ay, b.Ay) && sameBits(a.Az, b.Az) && a.Link == b.Link;
}

}  // namespace slipway
