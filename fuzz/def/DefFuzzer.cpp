// Feeds arbitrary bytes to both DEF readers and checks what they promise: never more records
// than whole records present, and a document that writes back as the bytes it was read from.
// The same bytes, read as typed text, go through the editor's value checks.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "formats/DefEditing.h"
#include "formats/DefFile.h"
#include "formats/DefNumberText.h"
#include "formats/DefRecordReader.h"

using namespace slipway;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::size_t present = size < 4 ? 0 : (size - 4) / kDefRecordSize;

    DefRecordReader reader(bytes);
    DefRecord record;
    std::size_t read = 0;
    while (reader.next(record))
        ++read;
    if (read != reader.recordCount() || read > present)
        std::abort();
    DefRecordReader unlimited(bytes);
    read = 0;
    while (unlimited.next(record, 420))
        ++read;
    if (read > present || read > 420)
        std::abort();

    const auto doc = parseDefDocument(bytes);
    if (doc) {
        if (doc->count() > kDefMaxOpenRecords || doc->capacity != doc->count() + 5)
            std::abort();
        const auto out = serializeDefFile(doc->records);
        // The records read are the file's own bytes, apart from the count.
        const std::size_t body = out.size() - 4;
        if (std::memcmp(out.data() + 4, data + 4, body) != 0)
            std::abort();
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)formatDefFloat(readLeadingFloat(text));
    (void)formatDefInt(readLeadingInt(text));
    if (doc && doc->count() > 0) {
        DefDocument edited = *doc;
        for (std::size_t f = 0; f < kDefFieldCount; ++f) {
            applyEdit(edited, 0, static_cast<DefField>(f), text);
        }
        if (edited.count() != doc->count())
            std::abort();
    }
    return 0;
}
