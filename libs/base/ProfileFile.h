#pragma once
// Private-profile (INI) files with the semantics the viewers' Dialog.ini relies on: section
// and key names compare ignoring case; values are trimmed and cut to 255 characters; an absent
// key gives the caller's default; writing creates the file and the section; a whole section can
// be replaced; every other line of the file (other sections, comments, blank lines) is kept;
// each write replaces the file atomically. The file is re-read on every call.

#include <string>
#include <string_view>
#include <vector>

namespace slipway {

inline constexpr std::size_t kProfileValueMax = 255;

// The value of `key` in `section`, or `defaultValue` when the file, the section or the key is
// absent. A key with an empty value is present and gives "".
std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue);

// Sets `key` in `section`, creating the file and the section when needed. False on failure.
bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Replaces every entry of `section` with `entries` ("KEY=VALUE" texts), creating the file and
// the section when needed. False on failure.
bool writeProfileSection(const std::string& path, std::string_view section,
                         const std::vector<std::string>& entries);

// The "KEY=VALUE" entries of `section` in file order (empty when absent).
std::vector<std::string> readProfileSection(const std::string& path, std::string_view section);

}  // namespace slipway
