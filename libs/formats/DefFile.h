#pragma once
// A whole DEF file as the editor holds it: a little-endian record count N, then N records of
// 296 bytes, nothing else. The editor opens files of up to 200 records and leaves room for
// five more; reading never trusts N beyond the bytes actually present.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "formats/DefRecord.h"

namespace slipway {

// The largest record count the editor opens.
inline constexpr std::int32_t kDefMaxOpenRecords = 200;
// Room for new records beyond the count at opening.
inline constexpr std::int32_t kDefSpareRecords = 5;

// The editor's copy of an open file.
struct DefDocument {
    std::vector<DefRecord> records;  // the records in use
    std::int32_t capacity = 0;       // count at opening + 5; 0 before any file
    std::string path;                // where Save File and OK write; empty before any file

    std::int32_t count() const { return static_cast<std::int32_t>(records.size()); }
};

// Parses a file's bytes. Refuses (nothing) when the 4-byte count is missing, negative or above
// 200. A file that announces more records than it holds gives the whole records present and
// the count of those (a partial last record is dropped); bytes after the announced records are
// ignored. Safe on untrusted input.
std::optional<DefDocument> parseDefDocument(std::span<const std::uint8_t> bytes);

// Reads and parses `path` as parseDefDocument does, and sets the document's path. Nothing when
// the file cannot be read or is refused; the caller keeps the document it had.
std::optional<DefDocument> readDefFile(const std::string& path);

// The file's bytes: the count, then every record exactly as held (all 256 `File` bytes).
std::vector<std::uint8_t> serializeDefFile(std::span<const DefRecord> records);

// Writes the records to `path` atomically: a failure leaves the old file as it was. Does
// nothing and returns false when `path` is empty or the write fails.
bool writeDefFile(const std::string& path, std::span<const DefRecord> records);
// Writes the document's records to its own path.
bool writeDefFile(const DefDocument& document);

}  // namespace slipway
