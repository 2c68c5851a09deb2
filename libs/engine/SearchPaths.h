#pragma once
// The viewers' settings file Dialog.ini in the start-up directory: the recent-file list, the
// last opened directory, and the lookups of model and texture files through the MODEL_PATH
// and TEXTURE_PATH directory lists. Nothing is cached: the file is re-read on every call.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "base/UserPrompt.h"

namespace slipway {

class SearchPaths {
public:
    static constexpr int kRecentFiles = 4;
    static constexpr int kSearchDirectories = 20;
    static constexpr std::size_t kMaxPath = 255;

    // Captures `baseDirectory` once; the settings file is baseDirectory/Dialog.ini.
    explicit SearchPaths(std::string baseDirectory);
    // Captures the process's current directory.
    static SearchPaths fromCurrentDirectory();

    const std::string& baseDirectory() const { return baseDirectory_; }
    const std::string& settingsPath() const { return settingsPath_; }

    // FILE0..FILE3 of RECENT_FILES. Creates an empty settings file when there is none.
    bool getRecentFile(int index, std::string& path) const;
    // Puts `path` first and moves FILE0..FILE2 down one place.
    void addRecentFile(const std::string& path) const;
    bool getRecentDirectory(std::string& directory) const;
    void setRecentDirectory(const std::string& directory) const;

    // Looks for `name` in `firstDirectory` (plain concatenation; pass it with its trailing
    // separator), then the MODEL_PATH directories, then the base directory. On success `name`
    // becomes the full path; otherwise "Can't Find Model: %s" is shown and `name` is unchanged.
    bool findModel(std::string& name, const std::string* firstDirectory, UserPrompt& prompt) const;
    // Looks for `name` in the TEXTURE_PATH directories (also as ".tf" in place of ".tga"), then
    // in the base directory, then in the `nearby` folders (the folder of the file being read,
    // the ship's folder; empty ones are passed over) the same way as in the TEXTURE_PATH ones.
    // On failure, while `warnMissing` is set, "Can't Find Texture: %s" is shown with OK and
    // Cancel; Cancel clears `warnMissing`.
    bool findTexture(std::string& name, int& warnMissing, UserPrompt& prompt,
                     std::initializer_list<std::string_view> nearby = {}) const;

    // The PATH0, PATH1, ... values of a directory list up to the first absent key, at most
    // `limit` of them.
    std::vector<std::string> directoryList(const char* section, int limit) const;
    // Replaces a directory list with PATH0..PATHn-1.
    bool writeDirectoryList(const char* section, const std::vector<std::string>& dirs) const;

private:
    // The existing file a candidate names (case-insensitive fallback), or "" when none.
    static std::string existing(const std::string& candidate);

    std::string baseDirectory_;
    std::string settingsPath_;
};

inline constexpr const char* kRecentFilesSection = "RECENT_FILES";
inline constexpr const char* kRecentDirectorySection = "RECENT_OPENED_DIRECTORY";
inline constexpr const char* kModelPathSection = "MODEL_PATH";
inline constexpr const char* kTexturePathSection = "TEXTURE_PATH";

}  // namespace slipway
