#include "bytespin/ScrambleRun.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

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

// Reads a whole chunk unless the file ends first; -1 on a read error.
ssize_t readChunk(int fd, std::uint8_t* out, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, out + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(got);
}

// Streams the file through the coder: one thread reads and codes chunks into a small ring of
// buffers while the calling thread writes them out, so reading, coding and writing overlap.
// Returns the number of bytes written, or -1 on any failure.
std::int64_t codeStream(int in, AtomicFile& out, CoderMode mode) {
    constexpr std::size_t kSlots = 4;
    std::unique_ptr<std::uint8_t[]> slots[kSlots];
    std::size_t sizes[kSlots] = {};
    for (auto& slot : slots) {
        slot.reset(new (std::nothrow) std::uint8_t[kCoderChunkBytes]);
        if (!slot) return -1;
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::uint64_t produced = 0, consumed = 0;
    bool ended = false, readFailed = false, stop = false;

    std::thread reader([&] {
        std::uint64_t position = 0;
        for (std::uint64_t i = 0;; ++i) {
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || produced - consumed < kSlots; });
                if (stop) return;
            }
            std::uint8_t* data = slots[i % kSlots].get();
            const ssize_t n = readChunk(in, data, kCoderChunkBytes);
            if (n > 0) codeBytes({data, static_cast<std::size_t>(n)}, position, mode);
            {
                std::lock_guard lock(mutex);
                if (n < 0) {
                    readFailed = true;
                } else if (n > 0) {
                    sizes[i % kSlots] = static_cast<std::size_t>(n);
                    ++produced;
                }
                if (n <= 0 || static_cast<std::size_t>(n) < kCoderChunkBytes) ended = true;
            }
            changed.notify_all();
            if (n <= 0 || static_cast<std::size_t>(n) < kCoderChunkBytes) return;
            position += static_cast<std::uint64_t>(n);
        }
    });

    std::int64_t written = 0;
    for (;;) {
        std::uint8_t* data;
        std::size_t size;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return produced > consumed || ended || readFailed; });
            if (produced == consumed) {
                if (readFailed) written = -1;
                break;
            }
            data = slots[consumed % kSlots].get();
            size = sizes[consumed % kSlots];
        }
        if (!out.write({data, size})) {
            written = -1;
            break;
        }
        written += static_cast<std::int64_t>(size);
        {
            std::lock_guard lock(mutex);
            ++consumed;
        }
        changed.notify_all();
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    changed.notify_all();
    reader.join();
    return written;
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

    AtomicFile out(name);
    out.failAfterBytes(hooks.failWriteAfterBytes);
    if (!out.open()) return false;
    out.reserve(static_cast<std::uint64_t>(st.st_size));

    const std::int64_t written =
        codeStream(in.fd, out, scramble ? CoderMode::Scramble : CoderMode::Unscramble);
    // A file that changed size while it was read is left alone.
    if (written != static_cast<std::int64_t>(st.st_size)) return false;
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
    // Every argument after the option is a mask: a shell that expands an unquoted mask hands
    // over many names, and each of them is wanted.
    const std::vector<std::string> masks(args.begin() + 1, args.end());
    for (const std::string& mask : masks) {
        if (mask.size() >= kMaskBufferSize) return "\nInvalid mask";
    }

    ScrambleCounts counts;
    std::set<std::string> seen;
    for (const std::string& mask : masks) {
        const PathParts parts = splitPath(mask);
        const std::string directory = parts.drive + parts.directory;
        for (const std::string& entry : listMatches(directory, parts.name + parts.extension)) {
            // A name matched by two masks would be coded twice, which does not undo but
            // garbles it.
            if (!seen.insert(entry).second) continue;
            ++counts.total;
            // As the directory search gives bare names, each match is opened in the current
            // directory.
            if (codeFileInPlace(entry, scramble, hooks)) ++counts.processed;
        }
    }
    if (counts.total == 0) return {};
    return formatText("\n%d files total - %d files processed ", counts.total, counts.processed);
}

const char* bytespinHelp() {
    return "Usage: bytespin c|d MASK...\n"
           "       bytespin --help | --version\n"
           "\n"
           "Scrambles (c) or unscrambles (d), in place, every file of the current folder whose\n"
           "name matches a mask: byte k of a file is rotated by k mod 8 bits, left to scramble\n"
           "and right to unscramble, so that plain viewers cannot read the file. A mask holds *\n"
           "and ? and is matched ignoring case; '*.*' matches every name, also . and .. (counted,\n"
           "not coded). Quote masks, or the shell expands them first; several masks, or the\n"
           "names the shell made of one, are taken in turn, and a name matched twice is coded\n"
           "once. Each file is coded into a temporary file that replaces it only when complete.\n"
           "At the end the program prints \"N files total - N files processed\": the entries\n"
           "matched and the files coded; nothing when no entry matched.\n"
           "\n"
           "Options:\n"
           "  c, crypt     scramble (only the first letter counts, in either case)\n"
           "  d, decode    unscramble\n"
           "  MASK         the names to code, with * and ?; a folder part lists that folder,\n"
           "               but each match is opened by its name in the current folder\n"
           "  -h, --help   show this text\n"
           "  --version    show the version\n"
           "\n"
           "Examples:\n"
           "  bytespin c '*.*'\n"
           "  bytespin d '*.*'\n"
           "  bytespin c '*.clf' '*.tf'\n"
           "\n"
           "Exit codes:\n"
           "  0  always; compare the two counts to see whether every file was coded\n";
}

}  // namespace slipway
