#pragma once
// A fresh temporary directory for a test, removed with everything in it at the end.

#include <filesystem>
#include <string>

namespace slipway::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Changes the current directory for the lifetime of the object.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& dir);
    ~ScopedCurrentDirectory();

private:
    std::filesystem::path previous_;
};

}  // namespace slipway::test
