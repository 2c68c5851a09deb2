#include "formats/DefDiagnosis.h"

#include "formats/DefRecordReader.h"

namespace slipway {

namespace {

bool knownClass(std::int32_t value) {
    return value >= kDefClassModel && value <= kDefClassShipTrace;
}

std::string notADefFile(std::size_t size) {
    return "not a DEF file (" + std::to_string(size) + " bytes)";
}

}  // namespace

std::optional<std::string> defFileProblem(std::span<const std::uint8_t> bytes) {
    DefRecordReader reader(bytes);
    if (!reader.hasCount() || reader.announcedCount() < 0)
        return notADefFile(bytes.size());
    if (reader.announcedCount() == 0)
        return "announces no records";
    // Random bytes make a random count; what tells them from a damaged ship is that none of
    // the records present is of a class the viewers know.
    bool anyKnown = false;
    DefRecord record;
    while (!anyKnown && reader.next(record))
        anyKnown = knownClass(record.Class);
    if (!anyKnown)
        return notADefFile(bytes.size());
    const auto announced = static_cast<std::size_t>(reader.announcedCount());
    if (reader.recordsPresent() < announced) {
        return "announces " + std::to_string(announced) + " records, holds " +
               std::to_string(reader.recordsPresent());
    }
    return std::nullopt;
}

}  // namespace slipway
