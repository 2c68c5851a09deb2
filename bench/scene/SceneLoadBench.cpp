// Loading a large CLF or CFF model into the scene, timed against reading the same file into
// memory, and the peak memory the load adds. Three modes, each meant for its own process so
// that the peak-memory figure covers one load only:
//   bench_scene_load make DIR        writes DIR/big.clf and DIR/big.cff (1,000,000 triangles)
//   bench_scene_load time FILE N [fresh]
//                                    best and median of N plain reads and of N loads, in ms;
//                                    with "fresh" every large buffer is newly mapped memory,
//                                    as when a viewer opens its first model, instead of heap
//                                    memory a previous round already touched
//   bench_scene_load memory FILE     resident memory before, and the peak after, one load

#if defined(__linux__)
#include <malloc.h>
#include <sys/resource.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "base/ByteWriter.h"
#include "base/FileIo.h"
#include "engine/ModelLoader.h"
#include "formats/CffFile.h"
#include "formats/ClfFile.h"

namespace slipway {
namespace {

// 50 parts, each a grid of 100 × 100 quads: 10,201 vertices and 20,000 triangles per part,
// with texture coordinates running continuously over the grid (no vertex needs splitting).
constexpr int kParts = 50;
constexpr int kGrid = 100;
constexpr int kSide = kGrid + 1;

template <typename Emit>
void gridTriangles(Emit emit) {
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            const auto a = static_cast<std::uint16_t>(y * kSide + x);
            const auto b = static_cast<std::uint16_t>(a + 1);
            const auto c = static_cast<std::uint16_t>(a + kSide);
            const auto d = static_cast<std::uint16_t>(c + 1);
            emit(a, b, d);
            emit(a, d, c);
        }
    }
}

float uvOf(int i) {
    return static_cast<float>(i) / kGrid;
}

void makeClf(const std::string& path) {
    ByteWriter out;
    ClfHeader header;
    header.levelCount = 1;
    header.levelObjects = kParts;
    writeClfHeader(out, header);
    for (int p = 0; p < kParts; ++p) {
        ClfObjectHeader oh;
        oh.objectName = "part" + std::to_string(p);
        oh.vertexRecords = kSide * kSide;
        oh.triangleRecords = 2 * kGrid * kGrid;
        writeClfObjectHeader(out, oh);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                writeClfVertex(out, ClfVertex{static_cast<float>(x), static_cast<float>(y),
                                              static_cast<float>(p), 0, 0, 1, 0});
            }
        }
        gridTriangles([&](std::uint16_t a, std::uint16_t b, std::uint16_t c) {
            ClfTriangle t;
            t.a = a;
            t.b = b;
            t.c = c;
            const std::uint16_t corners[3] = {a, b, c};
            for (int k = 0; k < 3; ++k) {
                t.u[k] = uvOf(corners[k] % kSide);
                t.v[k] = uvOf(corners[k] / kSide);
            }
            writeClfTriangle(out, t);
        });
    }
    writeFileAtomically(path, out.data());
}

void makeCff(const std::string& path) {
    ByteWriter out;
    CffHeader header;
    header.levelCount = 1;
    for (float& s : header.scale)
        s = 200;
    writeCffHeader(out, header);
    out.i32(kParts);
    out.u32(0);
    for (int p = 0; p < kParts; ++p) {
        CffObjectHeader oh;
        oh.uvScale = 1000;
        oh.vertexRecords = kSide * kSide;
        oh.triangleRecords = 2 * kGrid * kGrid;
        writeCffObjectHeader(out, oh);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                writeCffVertex(out, CffVertex{static_cast<std::int16_t>(x * 100),
                                              static_cast<std::int16_t>(y * 100),
                                              static_cast<std::int16_t>(p * 100),
                                              static_cast<std::int16_t>(x * 10),
                                              static_cast<std::int16_t>(y * 10), 0, 0, 127});
            }
        }
        gridTriangles([&](std::uint16_t a, std::uint16_t b, std::uint16_t c) {
            out.u16(a);
            out.u16(b);
            out.u16(c);
        });
    }
    writeFileAtomically(path, out.data());
}

struct Loader {
    explicit Loader(const std::string& dir) : paths(dir) {}

    int load(const std::string& path) {
        ModelServices services{kShipviewRules, textures, paths, prompt, trace, listener, clock,
                               warnMissing};
        const bool cff = path.size() > 4 && path.compare(path.size() - 4, 4, ".cff") == 0;
        return cff ? loadCff(scene, path, {}, services) : loadClf(scene, path, {}, services);
    }

    Scene scene;
    TextureStore textures;
    SearchPaths paths;
    HeadlessPrompt prompt;
    NullTrace trace;
    NullSceneListener listener;
    SteadyClock clock;
    int warnMissing = 0;
};

double millisecondsOf(auto&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

long peakKiB() {
#if defined(__linux__)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#else
    return 0;  // the memory figure is taken on Linux only
#endif
}

std::string directoryOfFile(const std::string& path) {
    const auto cut = path.find_last_of('/');
    return cut == std::string::npos ? "." : path.substr(0, cut);
}

int timeLoads(const std::string& path, int runs) {
    std::vector<double> reads, loads;
    Loader loader(directoryOfFile(path));
    NullSceneListener listener;
    for (int i = 0; i < runs; ++i) {
        std::size_t size = 0;
        reads.push_back(millisecondsOf([&] { size = readFileBytes(path)->size(); }));
        int slot = -1;
        loads.push_back(millisecondsOf([&] { slot = loader.load(path); }));
        if (slot != 0 || size == 0) {
            std::fprintf(stderr, "load failed\n");
            return 1;
        }
        loader.scene.clear(listener);
    }
    std::sort(reads.begin(), reads.end());
    std::sort(loads.begin(), loads.end());
    std::printf("%.2f %.2f %.2f %.2f\n", reads.front(), reads[reads.size() / 2], loads.front(),
                loads[loads.size() / 2]);
    return 0;
}

int measureMemory(const std::string& path) {
    Loader loader(directoryOfFile(path));
    const long before = residentKiB();
    if (loader.load(path) != 0)
        return 1;
    std::printf("%ld %ld\n", before, peakKiB());
    return 0;
}

}  // namespace
}  // namespace slipway

int main(int argc, char** argv) {
    using namespace slipway;
    if (argc >= 3 && std::strcmp(argv[1], "make") == 0) {
        makeClf(std::string(argv[2]) + "/big.clf");
        makeCff(std::string(argv[2]) + "/big.cff");
        return 0;
    }
    if (argc >= 4 && std::strcmp(argv[1], "time") == 0) {
        // Fixing the threshold also stops the allocator from raising it after a large free.
#if defined(__linux__)
        if (argc >= 5 && std::strcmp(argv[4], "fresh") == 0)
            mallopt(M_MMAP_THRESHOLD, 64 * 1024);
#endif
        return timeLoads(argv[2], std::atoi(argv[3]));
    }
    if (argc >= 3 && std::strcmp(argv[1], "memory") == 0)
        return measureMemory(argv[2]);
    std::fprintf(stderr,
                 "usage: bench_scene_load make DIR | time FILE RUNS [fresh] | memory FILE\n");
    return 2;
}
