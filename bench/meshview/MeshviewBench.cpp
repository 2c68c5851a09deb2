// Meshview's speed. Two modes:
//   meshview_bench save DIR N    writes DIR/big.clf (1,000,000 triangles in 50 parts) and
//                                gives the best and median of N opens of it with Meshview's
//                                rules (file read, scene built) and of N saves of the model
//                                (each a whole atomic write, flushed to the disk), in ms
//   meshview_bench pick MODEL N  under an X server: opens MODEL at the window's render area
//                                size in select mode and gives the best and median of N frames
//                                (drawn and finished) and of N picks at the area's centre, in ms

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "base/ByteWriter.h"
#include "base/Clock.h"
#include "base/FileIo.h"
#include "base/KeyState.h"
#include "engine/ModelEditing.h"
#include "engine/ModelSaver.h"
#include "engine/ViewerSession.h"
#include "formats/ClfFile.h"
#include "render/FrameRenderer.h"
#include "render/OffscreenContext.h"

namespace {

using namespace slipway;
using Timer = std::chrono::steady_clock;

constexpr int kParts = 50;
constexpr int kGrid = 100;  // 100 × 100 quads: 20,000 triangles per part
constexpr int kSide = kGrid + 1;
// Meshview's render area: the frame of 331 × 276 dialog units, inset by 5, 14, 5, 5 pixels.
constexpr int kAreaWidth = 487;
constexpr int kAreaHeight = 430;

double msSince(Timer::time_point start) {
    return std::chrono::duration<double, std::milli>(Timer::now() - start).count();
}

struct Figures {
    double best;
    double median;
};

Figures figures(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
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
        for (int y = 0; y < kGrid; ++y) {
            for (int x = 0; x < kGrid; ++x) {
                const auto a = static_cast<std::uint16_t>(y * kSide + x);
                const auto b = static_cast<std::uint16_t>(a + 1);
                const auto c = static_cast<std::uint16_t>(a + kSide);
                const auto d = static_cast<std::uint16_t>(c + 1);
                for (const auto& t : {std::array<std::uint16_t, 3>{a, b, d}, {a, d, c}}) {
                    ClfTriangle triangle;
                    triangle.a = t[0];
                    triangle.b = t[1];
                    triangle.c = t[2];
                    for (int k = 0; k < 3; ++k) {
                        triangle.u[k] = static_cast<float>(t[k] % kSide) / kGrid;
                        triangle.v[k] = static_cast<float>(t[k] / kSide) / kGrid;
                    }
                    writeClfTriangle(out, triangle);
                }
            }
        }
    }
    writeFileAtomically(path, out.data());
}

int benchSave(const std::string& dir, int runs) {
    const std::string source = dir + "/big.clf";
    const std::string target = dir + "/saved.clf";
    if (!std::filesystem::exists(source)) {
        makeClf(source);
    }
    SteadyClock clock;
    std::vector<double> reads, saves;
    for (int run = 0; run < runs; ++run) {
        ViewerSession session(kMeshviewRules, dir, clock);
        const Timer::time_point start = Timer::now();
        session.open(ModelFileKind::Clf, source, RecentList::Keep);
        reads.push_back(msSince(start));
        SceneObject* model = session.scene().object(0);
        if (model == nullptr || session.scene().statistics().triangles != 1000000) {
            std::fprintf(stderr, "meshview_bench: %s did not read whole\n", source.c_str());
            return 1;
        }
        model->path = target;
        const Timer::time_point saveStart = Timer::now();
        if (saveModel(session.scene(), 0, session.textures()) != SaveOutcome::Written) {
            std::fprintf(stderr, "meshview_bench: cannot write %s\n", target.c_str());
            return 1;
        }
        saves.push_back(msSince(saveStart));
    }
    const Figures read = figures(reads), save = figures(saves);
    std::printf("%.2f %.2f %.2f %.2f %ju %ju\n", read.best, read.median, save.best, save.median,
                static_cast<std::uintmax_t>(std::filesystem::file_size(source)),
                static_cast<std::uintmax_t>(std::filesystem::file_size(target)));
    return 0;
}

int benchPick(int argc, char** argv, const std::string& model, int runs) {
    QGuiApplication app(argc, argv);
    OffscreenContext context;
    DisplayDevice device(kMeshviewRules.projection);
    std::string failure;
    if (!context.create() || !device.createDevice(kAreaWidth, kAreaHeight, failure)) {
        std::fprintf(stderr, "meshview_bench: no OpenGL 3.3 context\n");
        return 1;
    }
    SteadyClock clock;
    ViewerSession session(kMeshviewRules, std::filesystem::path(model).parent_path().string(),
                          clock);
    HeadlessPrompt prompt;
    session.setPrompt(&prompt);
    const OpenResult opened =
        session.open(modelFileKindOf(model).value_or(ModelFileKind::Clf), model, RecentList::Keep);
    device.setAmbientLight(opened.ambient);
    makeCurrent(session.scene(), 0);
    FixedKeyState keys;
    FrameRenderer renderer(device, session.rules(), keys, clock);
    auto& gl = device.gl();

    // The first frame uploads everything. The first pick is timed on its own; then the picks
    // go to the first point of the middle row that hits a mesh.
    renderer.renderFrame(session.scene(), session.camera(), session.textures());
    gl.glFinish();
    Timer::time_point start = Timer::now();
    std::uint16_t hit = renderer.readPickColor(session.scene(), session.camera(),
                                               session.textures(), kAreaWidth / 2, kAreaHeight / 2);
    const double firstPick = msSince(start);
    int pickX = kAreaWidth / 2;
    for (int x = 0; x < kAreaWidth && hit == 0; x += 4) {
        pickX = x;
        hit = renderer.readPickColor(session.scene(), session.camera(), session.textures(), x,
                                     kAreaHeight / 2);
    }

    std::vector<double> frames, picks;
    for (int run = 0; run < runs; ++run) {
        start = Timer::now();
        renderer.renderFrame(session.scene(), session.camera(), session.textures());
        gl.glFinish();
        frames.push_back(msSince(start));
        start = Timer::now();
        renderer.readPickColor(session.scene(), session.camera(), session.textures(), pickX,
                               kAreaHeight / 2);
        picks.push_back(msSince(start));
    }
    const Figures frame = figures(frames), pick = figures(picks);
    const SceneStatistics stats = session.scene().statistics();
    std::printf("%.3f %.3f %.3f %.3f %.3f %u %u %d\n", frame.best, frame.median, pick.best,
                pick.median, firstPick, stats.triangles,
                static_cast<unsigned>(
                    session.scene().object(0) ? session.scene().object(0)->meshCount() : 0),
                hit != 0 ? 1 : 0);
    renderer.release();
    device.releaseDevice();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "save") {
        return benchSave(argv[2], std::max(1, std::atoi(argv[3])));
    }
    if (argc == 4 && std::string(argv[1]) == "pick") {
        return benchPick(argc, argv, argv[2], std::max(1, std::atoi(argv[3])));
    }
    std::fprintf(stderr, "usage: meshview_bench save DIR N | meshview_bench pick MODEL N\n");
    return 2;
}
