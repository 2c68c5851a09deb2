#include "riglist/DefDump.h"

#include <cstdio>

namespace slipway {

namespace {

void appendCell(std::string& out, const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
}

}  // namespace

std::string dumpDefDocument(const DefDocument& document, const ColumnSettings& settings) {
    const auto columns = defListColumns(settings);
    std::string out;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i)
            out += '\t';
        out += columns[i].title;
    }
    out += '\n';
    for (const DefRecord& record : document.records) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i)
                out += '\t';
            appendCell(out, defCellText(record, columns[i].kind));
        }
        out += '\n';
    }
    return out;
}

}  // namespace slipway
