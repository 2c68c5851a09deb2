// How long Pixmill's source pane takes to list a folder of many TGA files, and whether the
// window answers meanwhile: the longest gap between two turns of the event loop while the
// listing thread fills the pane. The baseline is the same work on one thread without a window:
// enumerating the folder and reading every header.
//
//   pixmill_pane_bench [FILES]   (default 10,000; run with QT_QPA_PLATFORM=offscreen)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "base/FileIo.h"
#include "pixels/PixelImage.h"
#include "pixels/TgaFile.h"
#include "pixmill/FilePane.h"

namespace {

using namespace slipway;
using Timer = std::chrono::steady_clock;

double msSince(Timer::time_point start) {
    return std::chrono::duration<double, std::milli>(Timer::now() - start).count();
}

class QuietPrompt : public UserPrompt {
  public:
    PromptAnswer show(std::string_view, PromptButtons) override { return PromptAnswer::Ok; }
};

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pixmill-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return 1;
    const std::string folder = pattern;
    ::setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);

    PixelImage picture;
    picture.create(8, 8, 24);
    const std::vector<std::uint8_t> bytes = encodeTga(picture);
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/texture%05d.tga", i);
        writeFileAtomically(folder + name, bytes);
    }

    // Baseline: the folder enumerated and every header read, on this thread.
    auto start = Timer::now();
    int headers = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        TgaFile tga(entry.path().string());
        headers += tga.isValid() && tga.readInfo();
    }
    const double baseline = msSince(start);

    int qtArgc = 1;
    char name[] = "pixmill_pane_bench";
    char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    QuietPrompt prompt;
    pixmill::FilePane pane({"tga", "bmp"}, prompt);
    pane.resize(400, 600);
    pane.show();
    QApplication::processEvents();

    // The event loop's turns: a zero-interval timer notes the longest gap between two.
    double longestGap = 0;
    Timer::time_point lastTurn = Timer::now();
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const Timer::time_point now = Timer::now();
        longestGap =
            std::max(longestGap, std::chrono::duration<double, std::milli>(now - lastTurn).count());
        lastTurn = now;
    });

    double rowsShown = -1;
    start = Timer::now();
    lastTurn = start;
    ticker.start();
    pane.openFolder(folder);
    while (pane.listing()) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        if (rowsShown < 0 && pane.model()->rowCount() > files)
            rowsShown = msSince(start);
    }
    const double finished = msSince(start);
    ticker.stop();
    int read = 0;
    for (const pixmill::PaneEntry& entry : pane.paneModel().entries())
        read += entry.size == "8x8";

    std::printf("files: %d (headers read on one thread: %d, in the pane: %d)\n", files, headers,
                read);
    std::printf("baseline, one thread, no window: %.0f ms\n", baseline);
    std::printf("pane: every row shown after %.0f ms, every header after %.0f ms\n", rowsShown,
                finished);
    std::printf("longest the event loop went without a turn while listing: %.1f ms\n", longestGap);
    std::filesystem::remove_all(folder);
    return read == files ? 0 : 1;
}
