#pragma once
// The names the editor shows for DEF codes, and the help texts listing the codes a field may
// take.

#include <cstdint>
#include <string_view>

namespace slipway {

// "Model", "Rey", ... for classes 200 to 209; empty for any other class.
std::string_view defClassName(std::int32_t cls);

// The name of `type` from the table of `cls`: yards (201), sails (202), cannons (203, looked up
// by `type` modulo 10 with the sign of `type`), flags (204), and the model table for every
// other class. Empty for a code that is not in its table.
std::string_view defTypeName(std::int32_t cls, std::int32_t type);

// The help text shown while a class is edited.
std::string_view defClassHelp();
// The help text shown while the type of a record of class `cls` is edited (empty for classes
// without named types).
std::string_view defTypeHelp(std::int32_t cls);

}  // namespace slipway
