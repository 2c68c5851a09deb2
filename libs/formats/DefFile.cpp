#include "formats/DefFile.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileIo.h"
#include "formats/DefRecordReader.h"

namespace slipway {

std::optional<DefDocument> parseDefDocument(std::span<const std::uint8_t> bytes) {
    DefRecordReader reader(bytes);
    const std::int32_t n = reader.announcedCount();
    if (!reader.hasCount() || n < 0 || n > kDefMaxOpenRecords)
        return std::nullopt;
    DefDocument document;
    document.records.reserve(reader.recordCount());
    DefRecord record;
    while (reader.next(record))
        document.records.push_back(record);
    // The count at opening is what the file holds, so there are always five free places.
    document.capacity = document.count() + kDefSpareRecords;
    return document;
}

std::optional<DefDocument> readDefFile(const std::string& path) {
    // Nothing past the largest file the editor opens is ever looked at.
    constexpr std::size_t kMaxBytes = 4 + kDefMaxOpenRecords * kDefRecordSize;
    const auto bytes = readFileHead(path, kMaxBytes);
    if (!bytes)
        return std::nullopt;
    auto document = parseDefDocument(*bytes);
    if (document)
        document->path = path;
    return document;
}

std::vector<std::uint8_t> serializeDefFile(std::span<const DefRecord> records) {
    ByteWriter writer;
    writer.i32(static_cast<std::int32_t>(records.size()));
    for (const DefRecord& record : records)
        writeDefRecord(writer, record);
    return writer.take();
}

bool writeDefFile(const std::string& path, std::span<const DefRecord> records) {
    if (path.empty())
        return false;
    return writeFileAtomically(path, serializeDefFile(records));
}

bool writeDefFile(const DefDocument& document) {
    return writeDefFile(document.path, document.records);
}

}  // namespace slipway
