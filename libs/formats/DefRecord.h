#pragma once
// One record of a DEF ship description: 296 bytes that place one part of a ship (a model, a
// yard, a sail, a cannon, a flag, ...) relative to the record it hangs from.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace slipway {

class ByteReader;
class ByteWriter;

inline constexpr std::size_t kDefRecordSize = 296;
inline constexpr std::size_t kDefFileNameWidth = 256;

// Record classes (the `Class` field).
inline constexpr std::int32_t kDefClassModel = 200;
inline constexpr std::int32_t kDefClassRey = 201;
inline constexpr std::int32_t kDefClassSail = 202;
inline constexpr std::int32_t kDefClassCannon = 203;
inline constexpr std::int32_t kDefClassFlag = 204;
inline constexpr std::int32_t kDefClassWaterline = 205;
inline constexpr std::int32_t kDefClassPatch = 206;
inline constexpr std::int32_t kDefClassCannonSet = 207;
inline constexpr std::int32_t kDefClassAllCannons = 208;
inline constexpr std::int32_t kDefClassShipTrace = 209;

// `Link` of a record without a parent.
inline constexpr std::int32_t kDefNoLink = -1;

// Field names are the editor's column titles. `File` keeps all 256 bytes, so that whatever
// follows a name's terminator (the remains of an earlier, longer name) survives a round trip.
struct DefRecord {
    std::int32_t Num = 0;
    std::int32_t Class = 0;
    std::int32_t Type = 0;
    std::array<char, kDefFileNameWidth> File{};
    float X = 0.0f;
    float Y = 0.0f;
    float Z = 0.0f;
    float Ax = 0.0f;
    float Ay = 0.0f;
    float Az = 0.0f;
    std::int32_t Link = 0;
};

// The name in `File`: the characters before the first zero byte (all 256 when there is none).
std::string defFileName(const DefRecord& record);

// Stores `name` and its terminator at the start of `File` and leaves the bytes after the
// terminator as they were. A name longer than 255 characters is cut to 255.
void setDefFileName(DefRecord& record, std::string_view name);

// Reads the next 296 bytes as a record; on a short read the reader fails and the record is
// all zeros.
DefRecord readDefRecord(ByteReader& reader);
// Appends the record's 296 bytes.
void writeDefRecord(ByteWriter& writer, const DefRecord& record);

bool operator==(const DefRecord& a, const DefRecord& b);

}  // namespace slipway
