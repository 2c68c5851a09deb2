#pragma once
// Path helpers for names that come from asset files made on a case-insensitive system: both
// '\' and '/' separate directories, and a name that does not exist exactly is looked up
// ignoring ASCII case.

#include <optional>
#include <string>
#include <string_view>

namespace slipway {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

struct PathParts {
    std::string drive;      // "C:" or empty
    std::string directory;  // with its trailing separator, or empty
    std::string name;       // base name without extension
    std::string extension;  // with its dot, or empty
};

PathParts splitPath(std::string_view path);
// The base name without directory and extension: "a\b/c.clf" gives "c".
std::string baseName(std::string_view path);
// The file name with extension, without directory.
std::string fileName(std::string_view path);
// Drive and directory, with the trailing separator ("" when the path has none).
std::string directoryOf(std::string_view path);
// Joins with the native separator unless `dir` is empty or already ends with a separator.
std::string joinPath(std::string_view dir, std::string_view name);
bool isSeparator(char c);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A regular file that can be opened for reading (directories do not count).
bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);

// `dir` + `name` when that entry exists; otherwise the one entry of `dir` whose name equals
// `name` ignoring ASCII case (the first in name order when several do).
std::optional<std::string> findFileIgnoringCase(const std::string& dir, const std::string& name);

// Resolves a path whose components may differ in case from the disk and may use either
// separator: the path itself when it exists, else each component looked up ignoring case.
// Only regular files are returned.
std::optional<std::string> locateFile(const std::string& path);

// The process's current directory.
std::string currentDirectory();

}  // namespace slipway
