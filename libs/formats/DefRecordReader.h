#pragma once
// Record-by-record reading of a DEF file, as the viewers assemble a ship: the count first,
// then one 296-byte record after the other until the count or the bytes run out. A negative
// count reads no record, and no count makes the reader hold more than the file's own bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "formats/DefRecord.h"

namespace slipway {

class DefRecordReader {
  public:
    // Reads over `bytes`, which must outlive the reader.
    explicit DefRecordReader(std::span<const std::uint8_t> bytes);
    // Reads over bytes it owns.
    explicit DefRecordReader(std::vector<std::uint8_t>&& bytes);

    // False when the file is shorter than the 4-byte count.
    bool hasCount() const { return hasCount_; }
    // The count as the file states it (0 when missing).
    std::int32_t announcedCount() const { return announced_; }
    // Whole records present after the count, whatever the count says.
    std::size_t recordsPresent() const { return present_; }
    // The records that next() yields: the announced count, at least 0 and at most the
    // records present.
    std::size_t recordCount() const;

    // Reads the next record while fewer than `limit` records have been read and a whole
    // record remains; false otherwise. The default limit is recordCount().
    bool next(DefRecord& out);
    bool next(DefRecord& out, std::size_t limit);
    // The 0-based position in the file of the record that next() reads.
    std::size_t index() const { return index_; }

  private:
    void start();

    ByteReader reader_;
    bool hasCount_ = false;
    std::int32_t announced_ = 0;
    std::size_t present_ = 0;
    std::size_t index_ = 0;
};

// Opens `path` for record-by-record reading. Loads the count and at most `maxRecords` records
// (by default as many as the count announces, none for a negative count), and never more
// than the file holds, so neither a huge count nor a huge file costs memory beyond that.
// Nothing when the file cannot be opened or read.
std::optional<DefRecordReader> openDefRecords(const std::string& path,
                                              std::optional<std::size_t> maxRecords = {});

}  // namespace slipway
