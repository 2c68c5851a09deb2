#pragma once
// The editor's list as text: a line of column titles, then one line per record, cells
// separated by tabs. Control characters in names are written as \xHH so that every record
// stays on its own line.

#include <string>

#include "formats/DefColumns.h"
#include "formats/DefFile.h"

namespace slipway {

std::string dumpDefDocument(const DefDocument& document, const ColumnSettings& settings);

}  // namespace slipway
