#pragma once
// Rescaling a whole ship on disk: the DEF positions and every file its records name.

#include <string>

#include "base/UserPrompt.h"
#include "engine/SearchPaths.h"

namespace slipway {

// Multiplies X, Y, Z of every DEF record, then rescales each distinct sail file named by a
// SAIL record and each distinct ".clf" / ".cff" file named by a MODEL or PATCH record exactly
// once, however many records name it (files are compared by their resolved paths). Names are
// looked up like the ship assembly's (the DEF's directory first); a missing file is reported by
// the lookup, once per name, and skipped. CANNON and FLAG records change only their position.
// Nothing else is reported; a DEF that cannot be read or rewritten changes nothing at all.
// Each file is rewritten atomically or left as it was. True when the DEF file was rewritten.
bool rescaleShip(const std::string& defPath, float factor, const SearchPaths& searchPaths,
                 UserPrompt& prompt);

}  // namespace slipway
