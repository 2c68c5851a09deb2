#pragma once
// The editor's list: which columns it shows for the column switches, where each field ends up
// (the column map) and the text of every cell.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/DefRecord.h"

namespace slipway {

// The fields that can be shown, hidden and edited, in the order of their switches and columns.
enum class DefField { Class, Type, File, X, Y, Z, Ax, Ay, Az, Link };
inline constexpr std::size_t kDefFieldCount = 10;

// "Class", "Type", "File", "X", ... "Link".
std::string_view defFieldName(DefField field);
// The field named `name`, ignoring case.
std::optional<DefField> defFieldFromName(std::string_view name);

// The column switches. Class and Type each stand for a code column and its name column.
struct ColumnSettings {
    std::array<bool, kDefFieldCount> shown{true,  true,  false, false, false,
                                           false, false, false, false, true};

    bool operator[](DefField f) const { return shown[static_cast<std::size_t>(f)]; }
    bool& operator[](DefField f) { return shown[static_cast<std::size_t>(f)]; }
    bool operator==(const ColumnSettings&) const = default;
};

enum class DefColumnKind { Num, Class, ClassName, Type, TypeName, File, X, Y, Z, Ax, Ay, Az, Link };
enum class ColumnAlign { Left, Center };

struct DefColumn {
    DefColumnKind kind;
    std::string_view title;
    ColumnAlign align;
    int width;  // pixels
};

// "Num" and then the switched-on columns in their fixed order. The list built at start, before
// any file has been opened, has a centred "File" column 70 pixels wide.
std::vector<DefColumn> defListColumns(const ColumnSettings& settings, bool beforeAnyFile = false);

// For each field, the list column that shows it or -1 when it is hidden; a name column is its
// code column plus 1.
struct ColumnMap {
    std::array<int, kDefFieldCount> column{};

    int operator[](DefField f) const { return column[static_cast<std::size_t>(f)]; }
};
ColumnMap columnMap(const ColumnSettings& settings);

// The field edited through list column `column`; nothing for "Num", the name columns and
// columns that do not exist.
std::optional<DefField> fieldAtColumn(const ColumnMap& map, int column);

// The text of one cell: integers in decimal, floats with five significant digits, names from
// the vocabulary.
std::string defCellText(const DefRecord& record, DefColumnKind kind);

}  // namespace slipway
