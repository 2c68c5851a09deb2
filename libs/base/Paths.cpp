#include "base/Paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace slipway {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

static char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

PathParts splitPath(std::string_view path) {
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        parts.drive = std::string(path.substr(0, 2));
        path.remove_prefix(2);
    }
    std::size_t lastSep = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (isSeparator(path[i])) lastSep = i;
    }
    std::string_view file = path;
    if (lastSep != std::string_view::npos) {
        parts.directory = std::string(path.substr(0, lastSep + 1));
        file = path.substr(lastSep + 1);
    }
    const std::size_t dot = file.rfind('.');
    if (dot == std::string_view::npos) {
        parts.name = std::string(file);
    } else {
        parts.name = std::string(file.substr(0, dot));
        parts.extension = std::string(file.substr(dot));
    }
    return parts;
}

std::string baseName(std::string_view path) { return splitPath(path).name; }

std::string fileName(std::string_view path) {
    PathParts p = splitPath(path);
    return p.name + p.extension;
}

std::string directoryOf(std::string_view path) {
    PathParts p = splitPath(path);
    return p.drive + p.directory;
}

std::string joinPath(std::string_view dir, std::string_view name) {
    std::string out(dir);
    if (!out.empty() && !isSeparator(out.back())) out.push_back(kNativeSeparator);
    out.append(name);
    return out;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

bool directoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

static std::optional<std::string> findEntryIgnoringCase(const std::string& dir,
                                                        const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return std::nullopt;
    std::vector<std::string> matches;
    while (dirent* e = ::readdir(d)) {
        if (equalsIgnoringCase(e->d_name, name)) matches.emplace_back(e->d_name);
    }
    ::closedir(d);
    if (matches.empty()) return std::nullopt;
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

std::optional<std::string> findFileIgnoringCase(const std::string& dir, const std::string& name) {
    const std::string exact = joinPath(dir, name);
    if (fileExists(exact)) return exact;
    if (name.empty() || name.find_first_of("\\/") != std::string::npos) return std::nullopt;
    auto entry = findEntryIgnoringCase(dir, name);
    if (!entry) return std::nullopt;
    std::string found = joinPath(dir, *entry);
    if (!fileExists(found)) return std::nullopt;
    return found;
}

std::optional<std::string> locateFile(const std::string& path) {
    if (fileExists(path)) return path;
#ifndef _WIN32
    // Split on either separator and resolve component by component.
    std::vector<std::string> components;
    std::string current;
    for (char c : path) {
        if (isSeparator(c)) {
            components.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    components.push_back(current);
    std::string resolved;
    std::size_t first = 0;
    if (!components.empty() && components[0].empty()) {
        resolved = "/";
        first = 1;
    }
    for (std::size_t i = first; i < components.size(); ++i) {
        const std::string& part = components[i];
        const bool last = i + 1 == components.size();
        if (part.empty() || part == ".") {
            if (last) return std::nullopt;
            continue;
        }
        std::string candidate = resolved + part;
        struct stat st {};
        if (part == ".." || ::stat(candidate.c_str(), &st) == 0) {
            resolved = candidate;
        } else {
            auto entry = findEntryIgnoringCase(resolved.empty() ? std::string(".") : resolved, part);
            if (!entry) return std::nullopt;
            resolved += *entry;
        }
        if (!last) resolved.push_back('/');
    }
    if (fileExists(resolved)) return resolved;
#endif
    return std::nullopt;
}

std::string currentDirectory() {
    std::vector<char> buf(4096);
    if (::getcwd(buf.data(), buf.size()) == nullptr) return ".";
    return buf.data();
}

}  // namespace slipway
