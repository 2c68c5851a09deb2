// Shipview's window without OpenGL: open commands, recent files, the level-of-detail panel,
// Resize, mouse modes, the idle loop and every way of ending the program.

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include "GlbReadBack.h"
#include "ShipviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/FileIo.h"
#include "base/ProfileFile.h"
#include "shipview/ShipviewApp.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

class ShipviewDlgTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "shipview_tests";
        static char* argv[] = {name, nullptr};
        qt_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete qt_;
        qt_ = nullptr;
    }

    void SetUp() override { start(); }

    void start() {
        app_ = std::make_unique<ShipviewApp>(dir_.path(), clock_, false);
        ASSERT_TRUE(app_->initInstance());
        window().setPrompt(prompt_);
        window().chooseOpenFile = [this](ModelFileKind kind, const QString& initial) {
            chosenKinds_.push_back(kind);
            initialDirectories_.push_back(initial.toStdString());
            return QString::fromStdString(nextChoice_);
        };
    }

    ShipviewDlg& window() { return *app_->window(); }
    std::string iniValue(const char* section, const char* key) {
        return readProfileString(dir_.file("Dialog.ini"), section, key, "<none>");
    }
    void writeBox(const std::string& name, float edge, int levels, const std::string& texture) {
        test::writeBoxClf(dir_.file(name), edge, levels, texture);
    }
    std::vector<std::uint8_t> bytesOf(const std::string& name) {
        return readFileBytes(dir_.file(name)).value_or(std::vector<std::uint8_t>{});
    }
    void open(const std::string& name, ModelFileKind kind = ModelFileKind::Clf) {
        nextChoice_ = name.empty() ? "" : dir_.file(name);
        window().openModelFile(kind);
    }
    bool levelEnabled(int k) { return window().levelButton(k)->isEnabled(); }
    std::string text(const QLineEdit* edit) { return edit->text().toStdString(); }
    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint p) {
        QMouseEvent event(type, QPointF(p), QPointF(window().clientArea()->mapToGlobal(p)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(window().clientArea(), &event);
    }

    static inline QApplication* qt_ = nullptr;
    test::TempDir dir_;
    FakeClock clock_;
    ScriptedPrompt prompt_;
    std::unique_ptr<ShipviewApp> app_;
    std::string nextChoice_;
    std::vector<ModelFileKind> chosenKinds_;
    std::vector<std::string> initialDirectories_;
};

TEST_F(ShipviewDlgTest, OpenReadsTheFileAndRecordsItEverywhere) {
    writeBox("Box.clf", 2, 1, "checker.tga");
    test::writeCheckerTga(dir_.file("checker.tga"));
    open("Box.clf");
    EXPECT_EQ(chosenKinds_, (std::vector<ModelFileKind>{ModelFileKind::Clf}));
    EXPECT_EQ(initialDirectories_, (std::vector<std::string>{""}));
    EXPECT_EQ(app_->scene().objectCount(), 1);
    EXPECT_EQ(window().windowTitle(), "Kelvo : Box.clf");
    EXPECT_EQ(iniValue(kRecentFilesSection, "FILE0"), dir_.file("Box.clf"));
    EXPECT_EQ(iniValue(kRecentDirectorySection, "DIRECTORY"), dir_.path() + "/");
    EXPECT_EQ(window().recentAction(0)->text().toStdString(), dir_.file("Box.clf"));
    EXPECT_TRUE(window().recentAction(0)->isEnabled());
    EXPECT_EQ(window().ambientLight(), kAmbientTextured);
    EXPECT_EQ(window().camera().world[14], 80.0f);  // fitted: 40 × the width of 2
    EXPECT_TRUE(prompt_.texts().empty());
    EXPECT_TRUE(app_->idleRunning());

    // The next open starts in the directory of the last one; untextured models get the grey
    // ambient light.
    writeBox("Plain.clf", 2, 1, "");
    open("Plain.clf");
    EXPECT_EQ(initialDirectories_.back(), dir_.path() + "/");
    EXPECT_EQ(window().ambientLight(), kAmbientUntextured);
    EXPECT_EQ(iniValue(kRecentFilesSection, "FILE1"), dir_.file("Box.clf"));
}

TEST_F(ShipviewDlgTest, CancelledOpenLeavesAnEmptyViewAndEverythingElseAsItWas) {
    writeBox("Box.clf", 2, 3, "");
    open("Box.clf");
    open("");
    EXPECT_EQ(app_->scene().objectCount(), 0);
    EXPECT_EQ(window().windowTitle(), "Kelvo : Box.clf");
    EXPECT_EQ(iniValue(kRecentFilesSection, "FILE1"), "<none>");
    EXPECT_FALSE(window().resizeButton()->isEnabled());
    EXPECT_FALSE(levelEnabled(2));
    // With the scene empty the idle loop stops and draws nothing.
    EXPECT_TRUE(app_->idlePass());
    EXPECT_FALSE(app_->idleRunning());
    EXPECT_TRUE(window().fpsLabel()->text().isEmpty());
}

TEST_F(ShipviewDlgTest, OpenThatReadsNothingLeavesTheFieldsAsTheyWere) {
    writeBox("Box.clf", 2, 1, "");
    open("Box.clf");
    open("gone.clf");
    EXPECT_EQ(prompt_.texts(),
              std::vector<std::string>{"Can't open Model File\n" + dir_.file("gone.clf")});
    EXPECT_EQ(text(window().verticesEdit()), "24");
    EXPECT_EQ(text(window().trianglesEdit()), "12");
    EXPECT_EQ(text(window().sizeEdit()), "3.4641");
    EXPECT_FALSE(window().resizeButton()->isEnabled());
    EXPECT_EQ(window().windowTitle(), "Kelvo : gone.clf");
}

TEST_F(ShipviewDlgTest, RecentMenuShowsStoredPathsAndOpensByEndingIgnoringCase) {
    writeBox("Upper.CLF", 2, 2, "");
    test::writeText(dir_.file("Dialog.ini"), "[RECENT_FILES]\nFILE0=" + dir_.file("Upper.CLF") +
                                                 "\nFILE1=" + dir_.file("notes.txt") + "\n");
    app_.reset();
    start();
    EXPECT_TRUE(window().recentAction(0)->isEnabled());
    EXPECT_EQ(window().recentAction(1)->text().toStdString(), dir_.file("notes.txt"));
    EXPECT_FALSE(window().recentAction(2)->isEnabled());
    EXPECT_EQ(window().recentAction(2)->text(), "Recent File3");

    window().recentAction(0)->trigger();
    EXPECT_EQ(app_->scene().objectCount(), 1);
    EXPECT_EQ(window().currentKind(), ModelFileKind::Clf);
    EXPECT_EQ(window().windowTitle(), "Kelvo : Upper.CLF");
    EXPECT_TRUE(levelEnabled(2));

    // Another ending reads nothing, but the caption names the entry.
    window().openRecentFile(1);
    EXPECT_EQ(app_->scene().objectCount(), 0);
    EXPECT_EQ(window().windowTitle(), "Kelvo : notes.txt");
    // Opening from the list leaves the list alone.
    EXPECT_EQ(iniValue(kRecentFilesSection, "FILE0"), dir_.file("Upper.CLF"));
    EXPECT_EQ(iniValue(kRecentDirectorySection, "DIRECTORY"), "<none>");
}

TEST_F(ShipviewDlgTest, LevelButtonsFollowTheLevelsReadAndSwitchTheCounts) {
    writeBox("Three.clf", 2, 3, "");
    open("Three.clf");
    EXPECT_TRUE(levelEnabled(2));
    EXPECT_TRUE(levelEnabled(3));
    EXPECT_FALSE(levelEnabled(4));
    EXPECT_EQ(text(window().verticesEdit()), "24");
    EXPECT_EQ(text(window().trianglesEdit()), "12");
    EXPECT_EQ(text(window().sizeEdit()), "3.4641");
    EXPECT_TRUE(window().resizeButton()->isEnabled());

    window().levelButton(2)->click();
    EXPECT_EQ(text(window().verticesEdit()), "20");
    EXPECT_EQ(text(window().trianglesEdit()), "10");
    EXPECT_EQ(text(window().sizeEdit()), "3.4641");

    // A typed but unapplied size is replaced when a level is chosen.
    window().sizeEdit()->setText("3.5");
    window().levelButton(1)->click();
    EXPECT_EQ(text(window().trianglesEdit()), "12");
    EXPECT_EQ(text(window().sizeEdit()), "3.4641");

    writeBox("One.clf", 2, 1, "");
    window().levelButton(3)->click();
    open("One.clf");
    EXPECT_TRUE(window().levelButton(1)->isChecked());
    EXPECT_FALSE(levelEnabled(2));
    EXPECT_FALSE(levelEnabled(3));
}

TEST_F(ShipviewDlgTest, ExportWritesTheLevelShownIntoTheChosenFileWhileAnythingIsOpen) {
    std::vector<std::string> suggested;
    std::string choice;
    window().chooseExportFile = [&](const QString& offered) {
        suggested.push_back(offered.toStdString());
        return QString::fromStdString(choice);
    };
    EXPECT_FALSE(window().exportAction()->isEnabled());
    writeBox("Box.clf", 2, 2, "");
    open("Box.clf");
    ASSERT_TRUE(window().exportAction()->isEnabled());

    window().levelButton(2)->click();
    choice = dir_.file("out");
    window().exportAction()->trigger();
    EXPECT_EQ(suggested, std::vector<std::string>{dir_.file("Box.glb")});
    const test::GlbReadBack file(bytesOf("out.glb"));
    ASSERT_EQ(file.error(), "");
    EXPECT_EQ(file.model().scenes.at(0).name, "Box");
    ASSERT_EQ(file.model().accessors.size(), 3u);     // positions, normals, indices of one part
    EXPECT_EQ(file.model().accessors[2].count, 30u);  // level 2: 10 triangles
    EXPECT_TRUE(prompt_.texts().empty());

    // Cancelling writes nothing; a file that cannot be written is told.
    choice = "";
    window().exportAction()->trigger();
    choice = dir_.file("gone/out.glb");
    window().exportAction()->trigger();
    EXPECT_EQ(prompt_.texts(),
              std::vector<std::string>{"Can't export glTF File\n" + dir_.file("gone/out.glb")});

    open("");
    EXPECT_FALSE(window().exportAction()->isEnabled());
}

TEST_F(ShipviewDlgTest, ResizeRescalesTheFileByTheRatioAndReadsItAgain) {
    writeBox("Box.clf", 2, 2, "");
    open("Box.clf");
    window().levelButton(2)->click();
    window().sizeEdit()->setText("6.9282");  // twice the diagonal of the 2-unit box
    window().resizeButton()->click();
    // The file on disk now holds a box of edge 4, and that is what was read again.
    ASSERT_EQ(app_->scene().objectCount(), 1);
    EXPECT_NEAR(app_->scene().object(0)->boundsSize.x, 4.0f, 1e-4);
    EXPECT_NEAR(app_->session().openedSize(), 6.9282f, 1e-3);
    EXPECT_EQ(text(window().sizeEdit()), "6.9282");
    EXPECT_TRUE(window().levelButton(1)->isChecked());
    EXPECT_TRUE(window().resizeButton()->isEnabled());
    EXPECT_NEAR(window().camera().world[14], 160.0f, 1e-3);
    EXPECT_TRUE(prompt_.texts().empty());
}

TEST_F(ShipviewDlgTest, EnterOnTheResizeButtonResizesInsteadOfEndingTheProgram) {
    writeBox("Box.clf", 2, 1, "");
    open("Box.clf");
    window().sizeEdit()->setText("6.9282");
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window().resizeButton(), &press);
    EXPECT_NEAR(app_->scene().object(0)->boundsSize.x, 4.0f, 1e-4);
    EXPECT_FALSE(app_->quitRequested());
}

TEST_F(ShipviewDlgTest, ResizeRefusesBadSizesAndIgnoresTheSameSize) {
    writeBox("Box.clf", 2, 1, "");
    const std::vector<std::uint8_t> before = bytesOf("Box.clf");
    open("Box.clf");
    for (const char* typed : {"0", "101", "big"}) {
        window().sizeEdit()->setText(typed);
        window().resizeButton()->click();
    }
    EXPECT_EQ(prompt_.texts(),
              (std::vector<std::string>{kSizeRangeText, kSizeRangeText, kNotANumberText}));
    window().sizeEdit()->setText("3.46410");
    window().resizeButton()->click();
    EXPECT_EQ(bytesOf("Box.clf"), before);
    EXPECT_EQ(app_->scene().objectCount(), 1);
}

TEST_F(ShipviewDlgTest, ShipFromDefOffersTheLargestLevelCountAndResizesAsAWhole) {
    test::writeBoxClf(dir_.file("hull.clf"), 2, 3, "");
    test::writeBoxClf(dir_.file("mast.clf"), 1, 1, "");
    test::DefBuilder()
        .model("hull.clf")
        .model("mast.clf", 0, 1, 0, 0)
        .add({.cls = 206, .file = "mast.clf", .x = 0.5f})
        .write(dir_.file("Ship.def"));
    open("Ship.def", ModelFileKind::Def);
    EXPECT_TRUE(prompt_.texts().empty());
    ASSERT_EQ(app_->scene().objectCount(), 3);
    EXPECT_EQ(app_->scene().object(1)->parent, 0);
    EXPECT_EQ(app_->scene().object(2)->kind, ObjectKind::Patch);
    EXPECT_EQ(window().windowTitle(), "Kelvo : Ship.def");
    EXPECT_TRUE(levelEnabled(3));
    EXPECT_FALSE(levelEnabled(4));
    // The patch is counted by neither the counts nor the size: hull 24 + mast 24 vertices.
    EXPECT_EQ(text(window().verticesEdit()), "48");
    EXPECT_EQ(text(window().trianglesEdit()), "24");
    const float size = window().panel().sizeValue();
    EXPECT_NEAR(size, 3.4641f, 1e-4);

    // Resize rescales the DEF and every part on disk (the real operations), then reassembles.
    window().sizeEdit()->setText(QString::number(2 * size));
    window().resizeButton()->click();
    EXPECT_TRUE(prompt_.texts().empty());
    ASSERT_EQ(app_->scene().objectCount(), 3);
    EXPECT_NEAR(window().panel().sizeValue(), 2 * size, 1e-3);
    EXPECT_EQ(text(window().trianglesEdit()), "24");
    EXPECT_NEAR(app_->scene().object(1)->world[13], 2.0f, 1e-5);
    EXPECT_NEAR(app_->scene().object(0)->boundsSize.x, 4.0f, 1e-5);
}

TEST_F(ShipviewDlgTest, WithoutOpenGlTheDeviceFailureIsToldAndTheProgramEnds) {
    // The offscreen platform offers no OpenGL at all.
    app_ = std::make_unique<ShipviewApp>(dir_.path(), clock_, true);
    ASSERT_TRUE(app_->initInstance());
    window().setPrompt(prompt_);
    QApplication::processEvents();
    EXPECT_EQ(prompt_.texts(), (std::vector<std::string>{"Failed Create device"}));
    EXPECT_FALSE(window().deviceReady());
    EXPECT_TRUE(app_->quitRequested());
    EXPECT_FALSE(app_->idlePass());
}

TEST_F(ShipviewDlgTest, ShipOfGeneratedPartsOnlyIsShownToo) {
    // A flag is generated, not read: no model notification starts the idle loop.
    test::DefBuilder().add({.cls = 204}).write(dir_.file("Flag.def"));
    open("Flag.def", ModelFileKind::Def);
    EXPECT_EQ(app_->scene().objectCount(), 1);
    EXPECT_TRUE(app_->idleRunning());
}

TEST_F(ShipviewDlgTest, EveryWayOfEndingAsksForTheQuitAndTheNextIdlePassEnds) {
    enum Way { ExitButton, Escape, CloseBox, EnterInSizeField };
    for (Way way : {ExitButton, Escape, CloseBox, EnterInSizeField}) {
        if (!app_) {
            start();
        }
        switch (way) {
            case ExitButton:
                for (QPushButton* b : window().findChildren<QPushButton*>()) {
                    if (b->text() == "Exit") {
                        b->click();
                    }
                }
                break;
            case Escape:
                window().reject();
                break;
            case CloseBox:
                window().close();
                break;
            case EnterInSizeField: {
                window().sizeEdit()->setFocus();
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(window().sizeEdit(), &press);
                break;
            }
        }
        EXPECT_TRUE(app_->quitRequested()) << way;
        EXPECT_NE(app_->window(), nullptr);
        EXPECT_TRUE(app_->idleRunning());
        EXPECT_FALSE(app_->idlePass());
        EXPECT_EQ(app_->window(), nullptr);
        app_.reset();
    }
}

TEST_F(ShipviewDlgTest, WheelZoomsLikeAShortDragAndHomeResetsTheView) {
    writeBox("Box.clf", 2, 1, "");
    open("Box.clf");
    const Matrix4 opened = window().camera().world;
    const QRect area = window().renderRect();
    const auto wheel = [&](QPoint at, int eighths) {
        QWheelEvent event(QPointF(at), QPointF(window().clientArea()->mapToGlobal(at)), QPoint(),
                          QPoint(0, eighths), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(window().clientArea(), &event);
    };
    // One notch forward is the zoom of a two-pixel drag down: 80 - 2 × 80 / 15.
    wheel(area.center(), 120);
    EXPECT_NEAR(window().camera().world[14], 80.0f - 160.0f / 15.0f, 1e-3);
    // Half notches add up; outside the render area the wheel does nothing.
    const float once = window().camera().world[14];
    wheel(area.center(), -60);
    EXPECT_EQ(window().camera().world[14], once);
    wheel(area.topLeft() - QPoint(3, 3), -120);
    EXPECT_EQ(window().camera().world[14], once);
    wheel(area.center(), -60);
    EXPECT_GT(window().camera().world[14], once);

    // Home brings back the view the open gave, a rotation included.
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, area.center());
    mouse(QEvent::MouseMove, Qt::LeftButton, area.center() + QPoint(30, 10));
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, area.center());
    const QList<QAction*> menus = window().menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[2]->text(), "&View");
    const QList<QAction*> view = menus[2]->menu()->actions();
    ASSERT_EQ(view.size(), 1);
    EXPECT_EQ(view[0]->shortcut(), QKeySequence(Qt::Key_Home));
    view[0]->trigger();
    EXPECT_EQ(window().camera().world, opened);
    EXPECT_EQ(window().camera().turn.x, 0.0f);
}

TEST_F(ShipviewDlgTest, DraggingStartsOnlyInsideTheRenderAreaAndFollowsTheChosenMode) {
    const QRect area = window().renderRect();
    // The frame's rectangle in dialog units, inset by 5, 14, 5 and 5 pixels.
    EXPECT_EQ(area, QRect(11, 3, 497, 505).adjusted(5, 14, -5, -5));
    const QPoint outside = area.topLeft() - QPoint(2, 2);
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, outside);
    EXPECT_FALSE(window().dragging());
    mouse(QEvent::MouseMove, Qt::LeftButton, area.center());
    EXPECT_EQ(window().camera().world[12], 0.0f);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, area.center());

    // Right edge excluded for the drag.
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(area.x() + area.width(), area.y()));
    EXPECT_FALSE(window().dragging());

    // The mode menu opens on a right click inside the render area, its edges included.
    mouse(QEvent::MouseButtonPress, Qt::RightButton, outside);
    EXPECT_FALSE(window().modeMenu()->isVisible());
    mouse(QEvent::MouseButtonPress, Qt::RightButton,
          area.topLeft() + QPoint(area.width(), area.height()));
    EXPECT_TRUE(window().modeMenu()->isVisible());
    window().modeMenu()->hide();

    const QList<QAction*> modes = window().modeMenu()->actions();
    ASSERT_EQ(modes.size(), 3);
    EXPECT_EQ(modes[0]->text(), "Zoom");
    EXPECT_EQ(modes[1]->text(), "Slide");
    EXPECT_EQ(modes[2]->text(), "Rotate");
    modes[1]->trigger();
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, area.center());
    EXPECT_TRUE(window().dragging());
    mouse(QEvent::MouseMove, Qt::LeftButton, area.center() + QPoint(50, 0));
    EXPECT_FLOAT_EQ(window().camera().world[12], 0.5f);
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, area.center());
    EXPECT_FALSE(window().dragging());
}

TEST_F(ShipviewDlgTest, IdlePassesAnimateWithTheTicksSinceThePreviousPass) {
    // A flag-like object that records what it was given.
    class Recorder : public SceneObject {
      public:
        int animate(std::uint32_t ms) override {
            seen.push_back(ms);
            return 1;
        }
        std::vector<std::uint32_t> seen;
    };
    auto object = std::make_unique<Recorder>();
    Recorder* recorder = object.get();
    app_->scene().add(std::move(object));
    clock_.now = 40;
    EXPECT_TRUE(app_->idlePass());
    clock_.now = 25;  // wrapped around
    EXPECT_TRUE(app_->idlePass());
    EXPECT_EQ(recorder->seen, (std::vector<std::uint32_t>{40, 0xFFFFFFFFu - 14}));
}

}  // namespace
}  // namespace slipway
