// Meshview with OpenGL (under an X server): a click in select mode picks the mesh under the
// pointer through the pick pass, the picked mesh is drawn red, and --screenshot --select shows
// the same.

#include <sstream>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include "MeshviewFixtures.h"
#include "TempDir.h"
#include "engine/ModelEditing.h"
#include "engine/Projection.h"
#include "meshview/MeshviewApp.h"
#include "meshview/Screenshot.h"

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
    static char name[] = "meshview_gl_tests";
    static char* argv[] = {name, nullptr};
    // Kept for the whole process: the GL driver's own allocations outlive a teardown.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12 &&
           std::abs(a.blue() - b.blue()) < 12;
}

// The pixel of an area of `size` that a model point lands on, through `camera`.
QPoint projected(Vec3 p, const CameraObject& camera, QSize size) {
    const auto clip =
        clipPosition(p, identity(), camera.world, projectionMatrix(kMeshviewRules.projection));
    const float x = clip[0] / clip[3], y = clip[1] / clip[3];
    return QPoint(static_cast<int>((x + 1.0f) * 0.5f * static_cast<float>(size.width())),
                  static_cast<int>((1.0f - y) * 0.5f * static_cast<float>(size.height())));
}

// The centres of the stacked squares of edge 1.
Vec3 centreOf(int mesh) {
    return Vec3{0.5f, 0.5f + 2.0f * static_cast<float>(mesh), 0.0f};
}

TEST(MeshviewGlTest, AClickInSelectModePicksTheMeshUnderThePointer) {
    application();
    test::TempDir dir;
    test::writeThreeSquares(dir.file("Squares.clf"), 1.0f, 0, true);
    FakeClock clock;
    MeshviewApp app(dir.path(), clock);
    ASSERT_TRUE(app.initInstance());
    ScriptedPrompt prompt;
    MeshviewDlg& window = *app.window();
    window.setPrompt(prompt);
    QElapsedTimer waited;
    waited.start();
    while (!window.deviceReady() && waited.elapsed() < 5000) {
        QApplication::processEvents();
    }
    ASSERT_TRUE(window.deviceReady()) << ::testing::PrintToString(prompt.texts());
    ASSERT_TRUE(app.openAtStart(dir.file("Squares.clf")));
    QApplication::processEvents();
    window.selectButton()->click();

    const QRect area = window.renderRect();
    const auto press = [&](QPoint p) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(p),
                          QPointF(window.clientArea()->mapToGlobal(p)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.clientArea(), &event);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p),
                            QPointF(window.clientArea()->mapToGlobal(p)), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.clientArea(), &release);
    };
    for (int mesh = 0; mesh < 3; ++mesh) {
        const QPoint at = area.topLeft() + projected(centreOf(mesh), window.camera(), area.size());
        ASSERT_TRUE(area.contains(at)) << mesh;
        press(at);
        EXPECT_EQ(window.panel().selectedMesh(), mesh);
        EXPECT_EQ(window.nameEdit()->text().toStdString(), std::string(1, "abc"[mesh]));
        EXPECT_EQ(app.scene().object(0)->meshes()[static_cast<std::size_t>(mesh)].mark,
                  kMarkPicked);
    }

    // The picked mesh shows red in the next frame, the others in their fill colours.
    clock.now = 5000;
    app.idlePass();
    const QImage frame = window.grabRenderArea();
    EXPECT_TRUE(
        near(frame.pixelColor(projected(centreOf(2), window.camera(), area.size())), Qt::red));
    EXPECT_FALSE(
        near(frame.pixelColor(projected(centreOf(1), window.camera(), area.size())), Qt::red));

    // The background between the squares, and a corner of the render area, pick nothing.
    press(area.topLeft() + projected({0.5f, 1.5f, 0}, window.camera(), area.size()));
    EXPECT_EQ(window.panel().selectedMesh(), -1);
    EXPECT_EQ(app.scene().object(0)->meshes()[2].mark, kMarkNone);
    press(area.topLeft() + QPoint(1, 1));
    EXPECT_EQ(window.panel().selectedMesh(), -1);
    EXPECT_TRUE(prompt.texts().empty());
}

TEST(MeshviewGlTest, ScreenshotShowsTheSelectedMeshRed) {
    application();
    test::TempDir dir;
    test::writeThreeSquares(dir.file("Squares.clf"), 1.0f, 0, true);
    std::ostringstream err;
    const std::string out = dir.file("squares.png");
    ASSERT_EQ(
        meshview::runScreenshot(
            {dir.file("Squares.clf"), out, "--size", "200x160", "--select", "1"}, dir.path(), err),
        0)
        << err.str();
    QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(200, 160));
    // The camera the window would use: fitted to the model, in front of it.
    CameraObject camera;
    Scene scene(kMeshviewRules.sceneSlots);
    auto object = std::make_unique<SceneObject>();
    object->kind = ObjectKind::Model;
    object->boundsCenter = {0.5f, 2.5f, 0};
    object->boundsSize = {1, 5, 0};
    scene.add(std::move(object));
    scene.fitCameraFrontOn(camera);
    EXPECT_TRUE(near(image.pixelColor(projected(centreOf(1), camera, image.size())), Qt::red));
    EXPECT_FALSE(near(image.pixelColor(projected(centreOf(0), camera, image.size())), Qt::red));
    EXPECT_EQ(image.pixelColor(1, 1), QColor(Qt::white));

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{dir.file("Squares.clf"), out, "--select", "3"},
          {dir.file("Squares.clf"), out, "--select", "x"},
          {dir.file("Squares.clf")},
          {dir.file("Ship.def"), out}}) {
        EXPECT_EQ(meshview::runScreenshot(args, dir.path(), err), 2);
    }
}

}  // namespace
}  // namespace slipway
