#pragma once
// Changing an open DEF document the way the editor does: storing a typed value into one field
// after checking it, adding a record and deleting one.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "formats/DefColumns.h"
#include "formats/DefFile.h"

namespace slipway {

inline constexpr std::string_view kUncorrectValueText = "Uncorrect Value";
inline constexpr std::string_view kVeryManyItemsText = "Very Many Items";
// Typed and copied values are cut to this many characters.
inline constexpr std::size_t kEditTextMax = 63;

enum class EditResult {
    Stored,   // the record holds the new value
    Refused,  // out of range: tell the user "Uncorrect Value"; nothing changed
    Ignored,  // no field to store into (no such record, or no field edited); nothing changed
};

// Reads `text` (cut to 63 characters) as the field's kind of value and stores it into record
// `row` when it is accepted: Class 0 or 200 to 215; Type by class (REY 0..1, SAIL 0..6,
// CANNON 0..3, FLAG 0..2, any value for every other class); Link -1 to count - 1; File and the
// floats any value. Text that is not a number reads as 0 and is checked as that.
EditResult applyEdit(DefDocument& document, std::int32_t row, std::optional<DefField> field,
                     std::string_view text);

// The help text to show while `field` of `record` is edited; nothing when the help text should
// stay as it is.
std::optional<std::string_view> defEditHelp(const DefRecord& record, DefField field);

// Adds a record at the end: all zero except `Num` = its position, `Class` 200 and `Link` 1.
// False, changing nothing, when the document is full (count = capacity).
bool addDefRecord(DefDocument& document);

// Removes record `row`; the later records move up unchanged (their `Num` and `Link` values are
// not renumbered). False when there is no such record.
bool deleteDefRecord(DefDocument& document, std::int32_t row);

}  // namespace slipway
