#include "engine/SearchPaths.h"

#include "base/FileIo.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/ProfileFile.h"

namespace slipway {

namespace {

constexpr const char* kAbsent = "$";

bool present(const std::string& value) { return value.empty() || value[0] != '$'; }

std::string candidateIn(const std::string& dir, const std::string& name) {
    std::string out = dir;
    out.push_back(kNativeSeparator);
    out += name;
    return out;
}

}  // namespace

SearchPaths::SearchPaths(std::string baseDirectory)
    : baseDirectory_(std::move(baseDirectory)),
      settingsPath_(baseDirectory_ + kNativeSeparator + "Dialog.ini") {}

SearchPaths SearchPaths::fromCurrentDirectory() { return SearchPaths(currentDirectory()); }

std::string SearchPaths::existing(const std::string& candidate) {
    if (candidate.size() > kMaxPath) return {};
    return locateFile(candidate).value_or(std::string());
}

bool SearchPaths::getRecentFile(int index, std::string& path) const {
    if (!fileExists(settingsPath_)) {
        writeFileAtomically(settingsPath_, {});
        return false;
    }
    std::string value = readProfileString(settingsPath_, kRecentFilesSection,
                                          formatText("FILE%d", index), kAbsent);
    if (!present(value)) return false;
    path = value;
    return true;
}

void SearchPaths::addRecentFile(const std::string& path) const {
    std::string slots[kRecentFiles];
    for (int i = 0; i < kRecentFiles - 1; ++i) {
        slots[i + 1] = readProfileString(settingsPath_, kRecentFilesSection,
                                         formatText("FILE%d", i), kAbsent);
    }
    slots[0] = path.substr(0, kMaxPath);
    for (int i = 0; i < kRecentFiles; ++i) {
        if (slots[i].empty() || slots[i][0] == '$') break;
        writeProfileString(settingsPath_, kRecentFilesSection, formatText("FILE%d", i), slots[i]);
    }
}

bool SearchPaths::getRecentDirectory(std::string& directory) const {
    std::string value = readProfileString(settingsPath_, kRecentDirectorySection, "DIRECTORY",
                                          kAbsent);
    if (!present(value)) return false;
    directory = value;
    return true;
}

void SearchPaths::setRecentDirectory(const std::string& directory) const {
    writeProfileString(settingsPath_, kRecentDirectorySection, "DIRECTORY", directory);
}

std::vector<std::string> SearchPaths::directoryList(const char* section, int limit) const {
    std::vector<std::string> dirs;
    for (int i = 0; i < limit; ++i) {
        std::string value = readProfileString(settingsPath_, section, formatText("PATH%d", i),
                                              kAbsent);
        if (!present(value)) break;
        dirs.push_back(value);
    }
    return dirs;
}

bool SearchPaths::writeDirectoryList(const char* section,
                                     const std::vector<std::string>& dirs) const {
    std::vector<std::string> entries;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
        entries.push_back(formatText("PATH%d=", static_cast<int>(i)) + dirs[i]);
    }
    return writeProfileSection(settingsPath_, section, entries);
}

bool SearchPaths::findModel(std::string& name, const std::string* firstDirectory,
                            UserPrompt& prompt) const {
    if (firstDirectory) {
        std::string found = existing(*firstDirectory + name);
        if (!found.empty()) {
            name = found;
            return true;
        }
    }
    for (const std::string& dir : directoryList(kModelPathSection, kSearchDirectories)) {
        std::string found = existing(candidateIn(dir, name));
        if (!found.empty()) {
            name = found;
            return true;
        }
    }
    std::string found = existing(candidateIn(baseDirectory_, name));
    if (!found.empty()) {
        name = found;
        return true;
    }
    tell(prompt, formatText("Can't Find Model: %s", name.c_str()));
    return false;
}

bool SearchPaths::findTexture(std::string& name, int& warnMissing, UserPrompt& prompt,
                              std::initializer_list<std::string_view> nearby) const {
    // "x.tga" is also tried as "x.tf" in the search directories.
    const auto inDirectory = [&](std::string_view dir) {
        std::string candidate = joinPath(dir, name);
        std::string found = existing(candidate);
        if (found.empty() && candidate.size() >= 2) {
            candidate.resize(candidate.size() - 2);
            candidate.push_back('f');
            found = existing(candidate);
        }
        return found;
    };
    for (const std::string& dir : directoryList(kTexturePathSection, kSearchDirectories)) {
        const std::string found = inDirectory(dir);
        if (!found.empty()) {
            name = found;
            return true;
        }
    }
    std::string found = existing(candidateIn(baseDirectory_, name));
    if (!found.empty()) {
        name = found;
        return true;
    }
    // Assets that travel together: a model opened from another folder still finds the
    // textures lying beside it or beside its ship.
    for (std::string_view dir : nearby) {
        if (dir.empty())
            continue;
        found = inDirectory(dir);
        if (!found.empty()) {
            name = found;
            return true;
        }
    }
    if (warnMissing) {
        const PromptAnswer answer = prompt.show(formatText("Can't Find Texture: %s", name.c_str()),
                                                PromptButtons::OkCancel);
        if (answer == PromptAnswer::Cancel) warnMissing = 0;
    }
    return false;
}

}  // namespace slipway
