#include "bytespin/ScrambleRun.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include "base/FileIo.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "base/WildcardMask.h"
#include "bytespin/ByteCoder.h"

namespace slipway {

namespace {

const char* const kUsage =
    "\nFiles coder/decoder (work in current directory)"
    "\nSYNTAX: bytespin options mask"
    "\nEXAMPLES:"
    "\nFor crypt : bytespin.exe c *.*"
    "\nFor decode: bytespin.exe d *.*";

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// Writes through a symbolic link to the file it names, so the link stays a link.
std::string realTarget(const std::string& name) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char buf[PATH_MAX];
        if (::realpath(name.c_str(), buf)) return buf;
    }
    return name;
}

}  // namespace

bool codeFileInPlace(const std::string& name, bool scramble, const ScrambleHooks& hooks) {
    Fd in;
    in.fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0) return false;
    struct stat st {};
    if (::fstat(in.fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // The original must be writable, as it would be when rewritten in place.
    if (::access(name.c_str(), W_OK) != 0) return false;

    AtomicFile out(realTarget(name));
    out.failAfterBytes(hooks.failWriteAfterBytes);
    if (!out.open()) return false;
    out.reserve(static_cast<std::uint64_t>(st.st_size));

    const CoderMode mode = scramble ? CoderMode::Scramble : CoderMode::Unscramble;
    std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[kCoderChunkBytes]);
    if (!buffer) return false;
    std::uint64_t position = 0;
    for (;;) {
        const ssize_t n = ::read(in.fd, buffer.get(), kCoderChunkBytes);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        std::span<std::uint8_t> chunk(buffer.get(), static_cast<std::size_t>(n));
        codeBytes(chunk, position, mode);
        if (!out.write(chunk)) return false;
        position += static_cast<std::uint64_t>(n);
    }
    // A file that changed size while it was read is left alone.
    if (position != static_cast<std::uint64_t>(st.st_size)) return false;
    return out.commit();
}

std::string runBytespin(const std::vector<std::string>& args, const ScrambleHooks& hooks) {
    if (args.size() < 2) return kUsage;
    const char option = args[0].empty() ? '\0' : args[0][0];
    bool scramble;
    if (option == 'c' || option == 'C') {
        scramble = true;
    } else if (option == 'd' || option == 'D') {
        scramble = false;
    } else {
        return "\nInvalid options";
    }
    const std::string& mask = args[1];
    if (mask.size() >= kMaskBufferSize) return "\nInvalid mask";

    const PathParts parts = splitPath(mask);
    const std::string directory = parts.drive + parts.directory;
    const std::vector<std::string> matches =
        listMatches(directory, parts.name + parts.extension);
    if (matches.empty()) return {};

    ScrambleCounts counts;
    for (const std::string& entry : matches) {
        ++counts.total;
        // As the directory search gives bare names, each match is opened in the current
        // directory.
        if (codeFileInPlace(entry, scramble, hooks)) ++counts.processed;
    }
    return formatText("\n%d files total - %d files processed ", counts.total, counts.processed);
}

}  // namespace slipway
