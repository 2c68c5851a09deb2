#pragma once
// The checked layout of a sail file: where each entry's record and each of its attached meshes
// lie in the caller's bytes, found by the one walk that the sail generator, the rescaler and
// the whole-file document share. Safe on untrusted input.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/LayoutWalk.h"
#include "formats/SailFile.h"

namespace slipway {

struct SailAttachedLayout {
    std::string textureName;                  // up to kSailTextureNameSize characters
    std::span<const std::uint8_t> vertices;   // CLF vertex records, kClfVertexSize each
    std::span<const std::uint8_t> triangles;  // CLF triangle records, kClfTriangleSize each
};

struct SailEntryLayout {
    SailRecord record;                    // a negative attachedCount stands for none
    std::span<const std::uint8_t> bytes;  // the kSailRecordSize record bytes
    std::vector<SailAttachedLayout> attached;
};

struct SailLayout {
    // The entries in file order, each complete, up to the first one that is not.
    std::vector<SailEntryLayout> entries;
    // What follows the last entry when it is shorter than a record: the generator passes over
    // it, and whatever rewrites the file keeps it as it is.
    std::span<const std::uint8_t> rest;
    // Set when an entry's attached meshes run past the end of the bytes; `damaged` is then
    // that entry's record and `entries` the entries before it.
    std::optional<LayoutFailure> failure;
    std::optional<SailRecord> damaged;

    bool ok() const { return !failure; }
};

// Entries are walked while a whole record remains.
SailLayout parseSailLayout(std::span<const std::uint8_t> bytes);

// The stored form of an entry of a layout: its record and attached meshes decoded.
SailEntry sailEntryOf(const SailEntryLayout& entry);

}  // namespace slipway
