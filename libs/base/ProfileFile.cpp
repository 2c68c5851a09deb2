#include "base/ProfileFile.h"

#include <optional>

#include "base/FileIo.h"
#include "base/Paths.h"

namespace slipway {

namespace {

struct Lines {
    std::vector<std::string> lines;
    // A new file gets the platform's line ends; an existing one keeps its own.
#ifdef _WIN32
    std::string eol = "\r\n";
#else
    std::string eol = "\n";
#endif
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

Lines load(const std::string& path) {
    Lines out;
    auto bytes = readFileBytes(path, 64u << 20);
    if (!bytes) return out;
    std::string text(bytes->begin(), bytes->end());
    const std::size_t firstLf = text.find('\n');
    if (firstLf != std::string::npos) {
        out.eol = (firstLf > 0 && text[firstLf - 1] == '\r') ? "\r\n" : "\n";
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.lines.push_back(std::move(line));
        start = end + 1;
    }
    return out;
}

bool save(const std::string& path, const Lines& file) {
    std::string text;
    for (const std::string& line : file.lines) {
        text += line;
        text += file.eol;
    }
    return writeFileAtomically(
        path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size()));
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    line = trim(line);
    return line.empty() || line.front() == ';';
}

// Index of the section header, or lines.size() when absent; `end` receives one past its last
// line.
std::size_t findSection(const Lines& file, std::string_view section, std::size_t& end) {
    for (std::size_t i = 0; i < file.lines.size(); ++i) {
        auto name = sectionName(file.lines[i]);
        if (name && equalsIgnoringCase(*name, section)) {
            end = i + 1;
            while (end < file.lines.size() && !sectionName(file.lines[end])) ++end;
            return i;
        }
    }
    end = file.lines.size();
    return file.lines.size();
}

bool keyOf(std::string_view line, std::string_view& key, std::string_view& value) {
    if (isComment(line)) return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return true;
}

std::string cut(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value.substr(0, kProfileValueMax));
}

}  // namespace

std::string readProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue) {
    const Lines file = load(path);
    std::size_t end = 0;
    const std::size_t head = findSection(file, section, end);
    for (std::size_t i = head + 1; i < end; ++i) {
        std::string_view k, v;
        if (keyOf(file.lines[i], k, v) && equalsIgnoringCase(k, key)) return cut(v);
    }
    return cut(defaultValue);
}

namespace {

// "[section]", built by appending: a string prepended to a temporary trips a false overlap
// warning of the optimiser.
std::string sectionHeader(std::string_view section) {
    std::string header;
    header.reserve(section.size() + 2);
    header += '[';
    header += section;
    header += ']';
    return header;
}

}  // namespace

bool writeProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    Lines file = load(path);
    std::string entry = std::string(key) + "=" + std::string(value);
    std::size_t end = 0;
    const std::size_t head = findSection(file, section, end);
    if (head == file.lines.size()) {
        file.lines.push_back(sectionHeader(section));
        file.lines.push_back(entry);
        return save(path, file);
    }
    for (std::size_t i = head + 1; i < end; ++i) {
        std::string_view k, v;
        if (keyOf(file.lines[i], k, v) && equalsIgnoringCase(k, key)) {
            file.lines[i] = entry;
            return save(path, file);
        }
    }
    // Append after the section's last entry, before trailing blank lines.
    std::size_t at = end;
    while (at > head + 1 && trim(file.lines[at - 1]).empty()) --at;
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
    return save(path, file);
}

bool writeProfileSection(const std::string& path, std::string_view section,
                         const std::vector<std::string>& entries) {
    Lines file = load(path);
    std::size_t end = 0;
    const std::size_t head = findSection(file, section, end);
    if (head == file.lines.size()) {
        file.lines.push_back(sectionHeader(section));
        file.lines.insert(file.lines.end(), entries.begin(), entries.end());
        return save(path, file);
    }
    // Keep the section's comments and blank lines, drop its entries, put the new ones first.
    std::vector<std::string> kept;
    for (std::size_t i = head + 1; i < end; ++i) {
        std::string_view k, v;
        if (!keyOf(file.lines[i], k, v)) kept.push_back(file.lines[i]);
    }
    std::vector<std::string> body(entries);
    body.insert(body.end(), kept.begin(), kept.end());
    file.lines.erase(file.lines.begin() + static_cast<std::ptrdiff_t>(head + 1),
                     file.lines.begin() + static_cast<std::ptrdiff_t>(end));
    file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(head + 1), body.begin(),
                      body.end());
    return save(path, file);
}

std::vector<std::string> readProfileSection(const std::string& path, std::string_view section) {
    const Lines file = load(path);
    std::size_t end = 0;
    const std::size_t head = findSection(file, section, end);
    std::vector<std::string> out;
    for (std::size_t i = head + 1; i < end; ++i) {
        std::string_view k, v;
        if (keyOf(file.lines[i], k, v)) out.push_back(std::string(k) + "=" + std::string(v));
    }
    return out;
}

}  // namespace slipway
