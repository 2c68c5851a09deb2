#include "engine/ShipRescaling.h"

#include <filesystem>
#include <set>
#include <vector>

#include "base/FileIo.h"
#include "base/Paths.h"
#include "formats/DefRecordReader.h"
#include "formats/FileRescaling.h"

namespace slipway {

namespace {

enum class FileRole { Sail, Clf, Cff };

struct NamedFile {
    std::string name;
    FileRole role;
};

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// One key per file on disk, however the name reached it (case, "./", links).
std::string fileIdentity(const std::string& path) {
    std::error_code ec;
    const auto canonical = std::filesystem::canonical(path, ec);
    return ec ? path : canonical.string();
}

}  // namespace

bool rescaleShip(const std::string& defPath, float factor, const SearchPaths& searchPaths,
                 UserPrompt& prompt) {
    const auto bytes = readFileBytes(defPath);
    if (!bytes)
        return false;
    // Without the new positions the ship must not change at all, or its parts would no longer
    // fit together.
    if (!rescaleDefPositions(defPath, factor))
        return false;

    std::vector<NamedFile> files;
    DefRecordReader reader{std::span<const std::uint8_t>(*bytes)};
    DefRecord record;
    while (reader.next(record)) {
        const std::string name = defFileName(record);
        if (record.Class == kDefClassSail) {
            files.push_back({name, FileRole::Sail});
        } else if (record.Class == kDefClassModel || record.Class == kDefClassPatch) {
            const std::string extension = lowerCase(splitPath(name).extension);
            if (extension == ".clf")
                files.push_back({name, FileRole::Clf});
            if (extension == ".cff")
                files.push_back({name, FileRole::Cff});
        }
    }

    const std::string directory = directoryOf(defPath);
    std::set<std::string> namesLookedUp;
    std::set<std::string> filesDone;
    for (const NamedFile& file : files) {
        // Spellings that differ in case may name different files where names keep their case;
        // two spellings of one file meet again below, by the file they lead to.
        if (!namesLookedUp.insert(file.name).second)
            continue;
        std::string path = file.name;
        if (!searchPaths.findModel(path, &directory, prompt))
            continue;
        if (!filesDone.insert(fileIdentity(path)).second)
            continue;
        switch (file.role) {
            case FileRole::Sail:
                rescaleSailFile(path, factor);
                break;
            case FileRole::Clf:
                rescaleClf(path, factor);
                break;
            case FileRole::Cff:
                rescaleCff(path, factor);
                break;
        }
    }
    return true;
}

}  // namespace slipway
