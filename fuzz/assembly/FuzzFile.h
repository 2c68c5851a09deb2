#pragma once
// A scratch file for fuzz targets that work on files: one per process, in its own temporary
// directory, removed at exit.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace slipway::fuzz {

inline const std::filesystem::path& scratchDirectory() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() /
                 ("slipway-fuzz-" + std::to_string(static_cast<long>(getpid())));
        std::filesystem::create_directories(d);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(scratchDirectory(), ec);
        });
        return d;
    }();
    return dir;
}

// Writes `data` to `name` in the scratch directory and returns its path.
inline std::string writeScratch(const std::string& name, const std::uint8_t* data,
                                std::size_t size) {
    const std::string path = (scratchDirectory() / name).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
}

inline std::vector<std::uint8_t> readScratch(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace slipway::fuzz
