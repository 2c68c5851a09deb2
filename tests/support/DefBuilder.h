#pragma once
// Builds DEF ship descriptions byte by byte for tests: a record count, then 296-byte records
// (Num, Class, Type, 256-byte File, X, Y, Z, Ax, Ay, Az, Link). Independent of the reader, so
// a test states the layout it expects.

#include <cstdint>
#include <string>
#include <vector>

namespace slipway::test {

struct DefEntry {
    std::int32_t num = -1;  // -1: the record's position
    std::int32_t cls = 200;
    std::int32_t type = 0;
    std::string file{};
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float ax = 0.0f, ay = 0.0f, az = 0.0f;
    std::int32_t link = -1;
    // Bytes stored after the name's terminator (the remains of a longer name).
    std::string fileTail{};
};

class DefBuilder {
  public:
    DefBuilder& add(const DefEntry& entry);
    // A MODEL record at a position, hanging from `link`.
    DefBuilder& model(const std::string& file, float x = 0, float y = 0, float z = 0,
                      std::int32_t link = -1);
    // Writes `count` as the record count instead of the number of records added.
    DefBuilder& announce(std::int32_t count);
    // Bytes appended after the last record (for example a partial record).
    DefBuilder& trailing(const std::vector<std::uint8_t>& bytes);

    std::size_t size() const { return entries_.size(); }
    std::vector<std::uint8_t> bytes() const;
    void write(const std::string& path) const;

  private:
    std::vector<DefEntry> entries_;
    bool announced_ = false;
    std::int32_t count_ = 0;
    std::vector<std::uint8_t> trailing_;
};

}  // namespace slipway::test
