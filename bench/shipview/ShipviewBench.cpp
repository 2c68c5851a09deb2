// Shipview's speed: opening a big ship (200 parts, 1,000,000 triangles) against reading its
// files into memory, exporting it as glTF against opening it, uploading it to the GPU, and
// frames per second at 800 × 600 against an empty frame. Needs an X server with OpenGL (run it
// under Xvfb).
//
//   shipview_bench [DEMO.def]   (a demo ship to measure the frame rate of as well)

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QGuiApplication>

#include "base/Clock.h"
#include "base/DebugTrace.h"
#include "base/FileIo.h"
#include "base/KeyState.h"
#include "engine/ShipAssembly.h"
#include "export/GltfExport.h"
#include "formats/ClfFile.h"
#include "render/FrameRenderer.h"
#include "render/OffscreenContext.h"

namespace {

using namespace slipway;
using Timer = std::chrono::steady_clock;

constexpr int kParts = 200;
constexpr int kGrid = 50;  // 50 × 50 quads = 5,000 triangles per part
constexpr int kWidth = 800;
constexpr int kHeight = 600;

double secondsSince(Timer::time_point start) {
    return std::chrono::duration<double>(Timer::now() - start).count();
}

// A wavy grid part with its own texture coordinates per triangle corner.
ClfModel gridPart(int index) {
    ClfObject object;
    object.name = "grid";
    for (int y = 0; y <= kGrid; ++y) {
        for (int x = 0; x <= kGrid; ++x) {
            const float fx = static_cast<float>(x) / kGrid;
            const float fy = static_cast<float>(y) / kGrid;
            object.vertices.push_back(
                {fx, fy, 0.05f * static_cast<float>((x + y + index) % 3), 0, 0, -1, 0});
        }
    }
    for (int y = 0; y < kGrid; ++y) {
        for (int x = 0; x < kGrid; ++x) {
            const auto a = static_cast<std::uint16_t>(y * (kGrid + 1) + x);
            const auto b = static_cast<std::uint16_t>(a + 1);
            const auto c = static_cast<std::uint16_t>(a + kGrid + 1);
            const auto d = static_cast<std::uint16_t>(c + 1);
            object.triangles.push_back({c, d, b, 0, {0, 1, 1}, {0, 0, 1}});
            object.triangles.push_back({c, b, a, 0, {0, 1, 0}, {0, 1, 1}});
        }
    }
    ClfModel model;
    model.levels.push_back({object});
    return model;
}

void writeU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

void writeF32(std::vector<std::uint8_t>& out, float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    writeU32(out, v);
}

// A DEF file of `kParts` MODEL records laid out on a 20 × 10 raster.
std::vector<std::uint8_t> shipDef() {
    std::vector<std::uint8_t> out;
    writeU32(out, kParts);
    for (int i = 0; i < kParts; ++i) {
        writeU32(out, static_cast<std::uint32_t>(i));  // Num
        writeU32(out, 200);                            // Class
        writeU32(out, 0);                              // Type
        std::string name = "part" + std::to_string(i) + ".clf";
        name.resize(256, '\0');
        out.insert(out.end(), name.begin(), name.end());
        writeF32(out, static_cast<float>(i % 20) * 1.1f);
        writeF32(out, static_cast<float>(i / 20) * 1.1f);
        writeF32(out, 0);
        writeF32(out, 0);
        writeF32(out, 0);
        writeF32(out, 0);
        writeU32(out, 0xFFFFFFFFu);  // Link -1
    }
    return out;
}

// Measures the scene at every model read, as a panel that counts on each notification would.
class MeasuringListener : public SceneListener {
  public:
    explicit MeasuringListener(Scene& scene) : scene_(scene) {}
    void modelLoaded(const ModelRead&) override { triangles = scene_.statistics().triangles; }
    void sceneCleared() override {}
    std::uint32_t triangles = 0;

  private:
    Scene& scene_;
};

// Frames per second over about three seconds of steady drawing.
double framesPerSecond(FrameRenderer& renderer, DisplayDevice& device, Scene& scene,
                       CameraObject& camera, const TextureStore& textures) {
    renderer.renderFrame(scene, camera, textures);
    device.gl().glFinish();
    int frames = 0;
    const auto start = Timer::now();
    while (secondsSince(start) < 3.0) {
        renderer.renderFrame(scene, camera, textures);
        device.gl().glFinish();
        ++frames;
    }
    return frames / secondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("shipview-bench-" + std::to_string(Timer::now().time_since_epoch().count()));
    std::filesystem::create_directories(dir);
    const std::string base = dir.string() + "/";

    std::size_t totalBytes = 0;
    for (int i = 0; i < kParts; ++i) {
        const auto bytes = writeClf(gridPart(i));
        totalBytes += bytes.size();
        writeFileAtomically(base + "part" + std::to_string(i) + ".clf", bytes);
    }
    writeFileAtomically(base + "ship.def", shipDef());

    // Baseline: the same files read into memory.
    double readSeconds = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = Timer::now();
        std::size_t bytes = 0;
        for (int i = 0; i < kParts; ++i) {
            const auto data = readFileBytes(base + "part" + std::to_string(i) + ".clf");
            bytes += data ? data->size() : 0;
        }
        readSeconds = std::min(readSeconds, secondsSince(start));
        if (bytes != totalBytes) {
            std::fprintf(stderr, "read %zu of %zu bytes\n", bytes, totalBytes);
        }
    }

    OffscreenContext context;
    DisplayDevice device;
    std::string failure;
    if (!context.create() || !device.createDevice(kWidth, kHeight, failure)) {
        std::fprintf(stderr, "no OpenGL 3.3 core context: run under Xvfb\n");
        return 1;
    }
    FixedKeyState keys;
    SteadyClock ticks;
    ScriptedPrompt prompt;
    NullTrace trace;
    NullSceneListener listener;
    SearchPaths paths(dir.string());

    double openSeconds = 1e9;
    double exportSeconds = 1e9;
    std::size_t exportBytes = 0;
    double uploadSeconds = 0;
    double shipFps = 0;
    std::uint32_t triangles = 0;
    for (int round = 0; round < 3; ++round) {
        Scene scene;
        TextureStore textures;
        int warnMissing = 1;
        const ModelServices services{kShipviewRules, textures, paths, prompt, trace, listener, ticks,
                                     warnMissing};
        const auto start = Timer::now();
        assembleShip(scene, base + "ship.def", services);
        const double seconds = secondsSince(start);
        openSeconds = std::min(openSeconds, seconds);
        triangles = scene.statistics().triangles;
        {
            // The whole export, written and flushed to disk as the command does.
            const auto exportStart = Timer::now();
            const GltfExportResult exported = writeGlb(base + "ship.glb", scene, textures, {});
            exportSeconds = std::min(exportSeconds, secondsSince(exportStart));
            if (!exported.written) {
                std::fprintf(stderr, "export failed: %s\n", exported.error.c_str());
            }
            exportBytes = std::filesystem::file_size(base + "ship.glb");
        }
        if (round == 2) {
            FrameRenderer renderer(device, kShipviewRules, keys, ticks);
            const auto uploadStart = Timer::now();
            renderer.upload(scene, textures);
            device.gl().glFinish();
            uploadSeconds = secondsSince(uploadStart);
            CameraObject camera;
            placeStartCamera(camera);
            scene.fitCamera(camera);
            device.setAmbientLight(0x0F7F7F7F);
            shipFps = framesPerSecond(renderer, device, scene, camera, textures);
            renderer.release();
        }
    }

    double measuringSeconds = 0;
    {
        Scene scene;
        TextureStore textures;
        MeasuringListener measuring(scene);
        int warnMissing = 1;
        const ModelServices services{kShipviewRules, textures, paths, prompt, trace, measuring, ticks,
                                     warnMissing};
        const auto start = Timer::now();
        assembleShip(scene, base + "ship.def", services);
        measuringSeconds = secondsSince(start);
    }

    // Baseline: an empty frame (clear only) at the same size.
    Scene empty;
    TextureStore noTextures;
    CameraObject camera;
    placeStartCamera(camera);
    FrameRenderer renderer(device, kShipviewRules, keys, ticks);
    const double emptyFps = framesPerSecond(renderer, device, empty, camera, noTextures);

    double demoFps = -1;
    if (argc > 1) {
        Scene demo;
        TextureStore textures;
        SearchPaths demoPaths(std::filesystem::path(argv[1]).parent_path().string());
        int warnMissing = 1;
        const ModelServices services{kShipviewRules, textures, demoPaths, prompt, trace, listener, ticks,
                                     warnMissing};
        assembleShip(demo, argv[1], services);
        device.setAmbientLight(textures.textureCount() == 0 ? 0x0F7F7F7F : 0x0FFFFFFF);
        placeStartCamera(camera);
        demo.fitCamera(camera);
        demoFps = framesPerSecond(renderer, device, demo, camera, textures);
    }
    renderer.release();
    device.releaseDevice();
    std::filesystem::remove_all(dir);

    std::printf("ship: %d parts, %u triangles, %.1f MiB of CLF files\n", kParts, triangles,
                static_cast<double>(totalBytes) / (1024.0 * 1024.0));
    std::printf("read files into memory (baseline): %.3f s\n", readSeconds);
    std::printf("open the DEF ship:                 %.3f s (%.1f x the baseline)\n", openSeconds,
                openSeconds / readSeconds);
    std::printf("open, measuring at every part:     %.3f s\n", measuringSeconds);
    std::printf("export it as glTF (%.1f MiB):      %.3f s (%.1f x the open)\n",
                static_cast<double>(exportBytes) / (1024.0 * 1024.0), exportSeconds,
                exportSeconds / openSeconds);
    std::printf("upload its buffers to the GPU:     %.3f s\n", uploadSeconds);
    std::printf("frames per second at %dx%d: empty frame (baseline) %.1f, big ship %.1f\n", kWidth,
                kHeight, emptyFps, shipFps);
    if (demoFps >= 0) {
        std::printf("frames per second at %dx%d: demo ship %.1f\n", kWidth, kHeight, demoFps);
    }
    return 0;
}
