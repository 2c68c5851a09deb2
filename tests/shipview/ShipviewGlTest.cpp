// Shipview with OpenGL (under an X server): the window draws the opened model into its render
// area, and --screenshot renders a file without a window.

#include <filesystem>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

#include "ShipviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "shipview/Screenshot.h"
#include "shipview/ShipviewApp.h"

#if defined(__SANITIZE_ADDRESS__)
// A widget application on a real display brings in system libraries that keep caches to the
// end of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
#endif

namespace slipway {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "shipview_gl_tests";
    static char* argv[] = {name, nullptr};
    // Kept for the whole process: the GL driver's own allocations outlive a teardown.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

TEST(ShipviewGlTest, WindowDrawsTheOpenedModelAndCountsFrames) {
    application();
    test::TempDir dir;
    test::writeBoxClf(dir.file("box.clf"), 2, 1, "checker.tga");
    test::writeCheckerTga(dir.file("checker.tga"));
    FakeClock clock;
    ShipviewApp app(dir.path(), clock);
    ASSERT_TRUE(app.initInstance());
    ScriptedPrompt prompt;
    app.window()->setPrompt(prompt);
    QElapsedTimer waited;
    waited.start();
    while (!app.window()->deviceReady() && waited.elapsed() < 5000) {
        QApplication::processEvents();
    }
    ASSERT_TRUE(app.window()->deviceReady()) << ::testing::PrintToString(prompt.texts());
    // Before anything is opened the render area shows the empty view.
    const QImage empty = app.window()->grabRenderArea();
    EXPECT_EQ(empty.pixelColor(empty.width() / 2, empty.height() / 2), QColor(Qt::white));

    ASSERT_TRUE(app.openAtStart(dir.file("box.clf")));
    clock.now = 5000;
    app.idlePass();
    const QImage frame = app.window()->grabRenderArea();
    EXPECT_EQ(frame.size(), app.window()->renderRect().size());
    // The box's front face fills the middle: its checker texture is red at the top left,
    // blue at the bottom left; the corners show the white background.
    const int w = frame.width(), h = frame.height();
    EXPECT_TRUE(near(frame.pixelColor(w / 2 - 5, h / 2 - 5), Qt::red));
    EXPECT_TRUE(near(frame.pixelColor(w / 2 - 5, h / 2 + 5), Qt::blue));
    EXPECT_EQ(frame.pixelColor(2, 2), QColor(Qt::white));
    // The first pass closed the first two-second period of the FPS figure.
    EXPECT_EQ(app.window()->fpsLabel()->text(), "0");

    // An open cancelled in the file dialog has already cleared the scene: no frame follows,
    // and the old picture must not stay behind.
    app.window()->chooseOpenFile = [](ModelFileKind, const QString&) { return QString(); };
    app.window()->openModelFile(ModelFileKind::Clf);
    EXPECT_EQ(app.scene().objectCount(), 0);
    const QImage cleared = app.window()->grabRenderArea();
    EXPECT_EQ(cleared.pixelColor(w / 2 - 5, h / 2 - 5), QColor(Qt::white));
}

TEST(ShipviewGlTest, ScreenshotWritesTheFrameAndHoldsTheKeys) {
    application();
    test::TempDir dir;
    test::writeBoxClf(dir.file("box.clf"), 2, 1, "checker.tga");
    test::writeCheckerTga(dir.file("checker.tga"));
    std::ostringstream err;
    const std::string out = dir.file("box.png");
    EXPECT_EQ(runScreenshot({dir.file("box.clf"), out, "--size", "120x100", "--keys", "PC"},
                            dir.path(), err),
              0)
        << err.str();
    QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(120, 100));
    EXPECT_TRUE(near(image.pixelColor(55, 45), Qt::red));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));

    // Bad usage is refused before anything is drawn.
    for (const std::vector<std::string>& args : {std::vector<std::string>{dir.file("box.clf")},
                                                 {dir.file("box.clf"), out, "--size", "0x5"},
                                                 {dir.file("box.clf"), out, "--keys", "X"},
                                                 {dir.file("box.txt"), out}}) {
        EXPECT_EQ(runScreenshot(args, dir.path(), err), 2);
    }

    // A file that loads nothing gives no picture at all.
    test::writeBytes(dir.file("empty.clf"), {});
    const std::string none = dir.file("none.png");
    EXPECT_EQ(runScreenshot({dir.file("empty.clf"), none}, dir.path(), err), 1);
    EXPECT_FALSE(std::filesystem::exists(none));
}

}  // namespace
}  // namespace slipway
