#include "formats/DefRecordReader.h"

#include "base/FileIo.h"

#include <algorithm>
#include <limits>

namespace slipway {

DefRecordReader::DefRecordReader(std::span<const std::uint8_t> bytes) : reader_(bytes) {
    start();
}

DefRecordReader::DefRecordReader(std::vector<std::uint8_t>&& bytes) : reader_(std::move(bytes)) {
    start();
}

void DefRecordReader::start() {
    hasCount_ = reader_.canRead(4);
    announced_ = reader_.i32();
    present_ = reader_.remaining() / kDefRecordSize;
}

std::size_t DefRecordReader::recordCount() const {
    if (announced_ <= 0)
        return 0;
    return std::min(static_cast<std::size_t>(announced_), present_);
}

bool DefRecordReader::next(DefRecord& out) {
    return next(out, recordCount());
}

bool DefRecordReader::next(DefRecord& out, std::size_t limit) {
    if (index_ >= limit || index_ >= present_)
        return false;
    out = readDefRecord(reader_);
    if (reader_.failed())
        return false;
    ++index_;
    return true;
}

std::optional<DefRecordReader> openDefRecords(const std::string& path,
                                              std::optional<std::size_t> maxRecords) {
    auto head = readFileHead(path, 4);
    if (!head)
        return std::nullopt;
    std::size_t records = 0;
    if (maxRecords) {
        records = *maxRecords;
    } else if (head->size() == 4) {
        ByteReader count(*head);
        records = static_cast<std::size_t>(std::max(count.i32(), 0));
    }
    const std::size_t limit =
        records > (std::numeric_limits<std::size_t>::max() - 4) / kDefRecordSize
            ? std::numeric_limits<std::size_t>::max()
            : 4 + records * kDefRecordSize;
    auto bytes = readFileHead(path, limit);
    if (!bytes)
        return std::nullopt;
    return DefRecordReader(std::move(*bytes));
}

}  // namespace slipway
