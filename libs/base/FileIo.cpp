#include "base/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "base/Paths.h"

namespace slipway {

namespace {
// Large writes start their write-back every few MiB, so the final flush has little left.
constexpr std::size_t kWritebackStep = 8u << 20;
}  // namespace

std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path,
                                                       std::size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uint64_t>(st.st_size) > maxBytes) {
        ::close(fd);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != bytes.size()) return std::nullopt;
    return bytes;
}

std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path,
                                                      std::size_t maxBytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    // Grows with what arrives, so a large limit on a small file allocates little.
    constexpr std::size_t kChunk = 64 * 1024;
    bool failed = false;
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(kChunk, maxBytes - bytes.size());
        const std::size_t old = bytes.size();
        bytes.resize(old + want);
        const std::size_t got = std::fread(bytes.data() + old, 1, want, file);
        bytes.resize(old + got);
        if (got < want) {
            failed = std::ferror(file) != 0;
            break;
        }
    }
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return bytes;
}

std::string systemErrorText(int error) {
    return std::generic_category().message(error);
}

std::string unreadableFileCause(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return systemErrorText(errno);
    if (S_ISDIR(st.st_mode))
        return systemErrorText(EISDIR);
    if (!S_ISREG(st.st_mode))
        return "not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemErrorText(errno);
    ::close(fd);
    return {};
}

AtomicFile::AtomicFile(std::string targetPath) : target_(std::move(targetPath)) {}

AtomicFile::~AtomicFile() { abort(); }

bool AtomicFile::open() {
    if (fd_ >= 0) return true;
    // A link keeps leading to the file: the new content replaces the file it names.
    struct stat link {};
    if (::lstat(target_.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char* real = ::realpath(target_.c_str(), nullptr);
        if (!real) return false;
        target_ = real;
        std::free(real);
    }
    const PathParts parts = splitPath(target_);
    std::string dir = parts.drive + parts.directory;
    if (dir.empty()) dir = "./";
    std::string templ = dir + "." + parts.name + parts.extension + ".tmp-XXXXXX";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    fd_ = ::mkstemp(buf.data());
    if (fd_ < 0) return false;
    tempPath_ = buf.data();
    failed_ = false;
    written_ = 0;
    writebackStart_ = 0;
    reserved_ = 0;
    return true;
}

bool AtomicFile::write(std::span<const std::uint8_t> bytes) {
    if (fd_ < 0 || failed_) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t want = bytes.size() - done;
        if (written_ >= failAfter_) {
            failed_ = true;
            return false;
        }
        if (failAfter_ - written_ < want) want = failAfter_ - written_;
        const ssize_t n = ::write(fd_, bytes.data() + done, want);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        done += static_cast<std::size_t>(n);
        written_ += static_cast<std::size_t>(n);
    }
#ifdef __linux__
    if (written_ - writebackStart_ >= kWritebackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writebackStart_),
                          static_cast<off_t>(written_ - writebackStart_), SYNC_FILE_RANGE_WRITE);
        writebackStart_ = written_;
    }
#endif
    return true;
}

void AtomicFile::reserve(std::uint64_t size) {
#ifdef __linux__
    if (fd_ >= 0 && size > 0 && ::posix_fallocate(fd_, 0, static_cast<off_t>(size)) == 0) {
        reserved_ = std::max<std::uint64_t>(reserved_, size);
    }
#else
    (void)size;
#endif
}

bool AtomicFile::commit() {
    if (fd_ < 0 || failed_) {
        abort();
        return false;
    }
    // posix_fallocate lengthens the file: room reserved but not written is cut off again.
    if (reserved_ > written_ && ::ftruncate(fd_, static_cast<off_t>(written_)) != 0) {
        abort();
        return false;
    }
    struct stat st {};
    if (::stat(target_.c_str(), &st) == 0) {
        ::fchmod(fd_, st.st_mode & 07777);
    } else {
        // A new file gets the usual permissions rather than mkstemp's 0600.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd_, 0666 & ~mask);
    }
    if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
        fd_ = -1;
        abort();
        return false;
    }
    fd_ = -1;
    if (::rename(tempPath_.c_str(), target_.c_str()) != 0) {
        abort();
        return false;
    }
    tempPath_.clear();
    return true;
}

void AtomicFile::abort() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFile file(path);
    return file.open() && file.write(bytes) && file.commit();
}

}  // namespace slipway
