#include "support/DefBuilder.h"

#include "TestFiles.h"
#include "base/ByteWriter.h"

namespace slipway::test {

DefBuilder& DefBuilder::add(const DefEntry& entry) {
    entries_.push_back(entry);
    return *this;
}

DefBuilder& DefBuilder::model(const std::string& file, float x, float y, float z,
                              std::int32_t link) {
    return add({.file = file, .x = x, .y = y, .z = z, .link = link});
}

DefBuilder& DefBuilder::announce(std::int32_t count) {
    announced_ = true;
    count_ = count;
    return *this;
}

DefBuilder& DefBuilder::trailing(const std::vector<std::uint8_t>& bytes) {
    trailing_ = bytes;
    return *this;
}

std::vector<std::uint8_t> DefBuilder::bytes() const {
    ByteWriter w;
    w.i32(announced_ ? count_ : static_cast<std::int32_t>(entries_.size()));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const DefEntry& e = entries_[i];
        w.i32(e.num >= 0 ? e.num : static_cast<std::int32_t>(i));
        w.i32(e.cls);
        w.i32(e.type);
        std::string field = e.file;
        field.push_back('\0');
        field += e.fileTail;
        field.resize(256, '\0');
        w.name(field, 256);
        w.f32(e.x);
        w.f32(e.y);
        w.f32(e.z);
        w.f32(e.ax);
        w.f32(e.ay);
        w.f32(e.az);
        w.i32(e.link);
    }
    w.bytes(trailing_);
    return w.take();
}

void DefBuilder::write(const std::string& path) const {
    writeBytes(path, bytes());
}

}  // namespace slipway::test
