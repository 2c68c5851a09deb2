#pragma once
// A scratch directory for fuzz targets that work on files: made for one input and removed with
// everything in it when the input is done (libFuzzer ends without running exit handlers, so
// nothing may outlive an input).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace slipway::fuzz {

class ScratchDirectory {
  public:
    ScratchDirectory()
        : path_(std::filesystem::temp_directory_path() /
                ("slipway-fuzz-" + std::to_string(static_cast<long>(getpid())))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchDirectory() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string path() const { return path_.string(); }

    // Writes `data` to `name` in the directory and returns its path.
    std::string write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        const std::string file = (path_ / name).string();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return file;
    }

  private:
    std::filesystem::path path_;
};

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace slipway::fuzz
