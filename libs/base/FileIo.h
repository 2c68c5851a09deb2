#pragma once
// Reading whole files, and writing files so that a failure never damages the old content:
// the bytes go to a temporary file in the target's directory, which is flushed and renamed
// over the target; the target's permissions are kept.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace slipway {

// The whole content of a regular file, or nothing when it cannot be opened or read.
// `maxBytes` refuses larger files before allocating.
std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes = SIZE_MAX);

// At most the first `maxBytes` bytes of a file: fewer when the file is shorter. Nothing when
// it cannot be opened or read (a directory, for example). Reads in pieces, so a large limit on
// a small file allocates little.
std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path,
                                                      std::size_t maxBytes);

// The system's text for an error number ("No such file or directory"). Safe on any thread.
std::string systemErrorText(int error);

// Why `path` cannot be read as a file, for a message: the system's text for the error that
// opening it gives ("No such file or directory", "Permission denied"), "Is a directory", or
// "not a regular file". Empty when it opens as a regular file after all.
std::string unreadableFileCause(const std::string& path);

// Replaces (or creates) `path` with `bytes` atomically. False on any failure, in which case
// the target is untouched and no temporary file is left behind.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);

// A streaming atomic write: open, write in pieces, then commit. Destroying an uncommitted
// AtomicFile removes the temporary file and leaves the target as it was. A target that is a
// symbolic link is written where the link leads, so the link stays a link.
class AtomicFile {
public:
    explicit AtomicFile(std::string targetPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. False when the directory cannot take it.
    bool open();
    bool write(std::span<const std::uint8_t> bytes);
    // Reserves room for `size` bytes up front where the file system supports it, so a full
    // disk shows before any work and large writes go faster. Never required; the committed
    // file ends after the last byte written, however much was reserved.
    void reserve(std::uint64_t size);
    // Flushes, copies the target's permissions, and renames over the target.
    bool commit();
    void abort();

    // Test hook: makes every write fail once this many bytes have been written in total,
    // as a full disk would.
    void failAfterBytes(std::size_t count) { failAfter_ = count; }

    const std::string& temporaryPath() const { return tempPath_; }

private:
    std::string target_;
    std::string tempPath_;
    int fd_ = -1;
    bool failed_ = false;
    std::size_t written_ = 0;
    std::size_t writebackStart_ = 0;
    std::uint64_t reserved_ = 0;
    std::size_t failAfter_ = SIZE_MAX;
};

}  // namespace slipway
