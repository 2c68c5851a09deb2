// Meshview's window without OpenGL: its controls and menus, the list filled by the posted
// notification, select mode with picks (the pick colour comes from a stand-in), rename, both
// editing buttons, the key slider, both Resize buttons, Save, ships from a recent DEF entry and
// ending the program.

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "MeshviewFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "engine/ModelEditing.h"
#include "meshview/MeshviewApp.h"
#include "qtshell/DialogUnits.h"
#include "support/DefBuilder.h"

namespace slipway {
namespace {

class MeshviewDlgTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "meshview_tests";
        static char* argv[] = {name, nullptr};
        qt_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete qt_;
        qt_ = nullptr;
    }

    void SetUp() override {
        app_ = std::make_unique<MeshviewApp>(dir_.path(), clock_, false);
        ASSERT_TRUE(app_->initInstance());
        window().setPrompt(prompt_);
        window().chooseOpenFile = [this](ModelFileKind kind, const QString&) {
            chosenKinds_.push_back(kind);
            return QString::fromStdString(nextChoice_);
        };
        window().pickColorAt = [this](const QPoint& p) {
            pickedAt_.push_back(p);
            return pickColour_;
        };
    }

    MeshviewDlg& window() { return *app_->window(); }
    Scene& scene() { return app_->scene(); }
    const MeshPart& mesh(int slot, int index) {
        return scene().object(slot)->meshes()[static_cast<std::size_t>(index)];
    }
    // Opens through the File menu's CLF command and lets the posted notifications arrive.
    void open(const std::string& name) {
        nextChoice_ = dir_.file(name);
        window().openModelFile(ModelFileKind::Clf);
        QApplication::processEvents();
    }
    std::vector<std::string> rows() {
        std::vector<std::string> names;
        for (int i = 0; i < window().objectList()->topLevelItemCount(); ++i)
            names.push_back(window().objectList()->topLevelItem(i)->text(0).toStdString());
        return names;
    }
    void mouse(QEvent::Type type, QPoint p) {
        QMouseEvent event(
            type, QPointF(p), QPointF(window().clientArea()->mapToGlobal(p)), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window().clientArea(), &event);
    }
    void click(QPoint p) {
        mouse(QEvent::MouseButtonPress, p);
        mouse(QEvent::MouseButtonRelease, p);
    }
    bool editingEnabled() {
        const bool all = window().nameEdit()->isEnabled() && window().renameButton()->isEnabled() &&
                         window().doubleSideButton()->isEnabled() &&
                         window().flipNormalsButton()->isEnabled();
        const bool none =
            !window().nameEdit()->isEnabled() && !window().renameButton()->isEnabled() &&
            !window().doubleSideButton()->isEnabled() && !window().flipNormalsButton()->isEnabled();
        EXPECT_TRUE(all || none) << "the four editing controls go together";
        return all;
    }
    std::string text(const QLineEdit* edit) { return edit->text().toStdString(); }
    QPoint inside() { return window().renderRect().center(); }

    static inline QApplication* qt_ = nullptr;
    test::TempDir dir_;
    FakeClock clock_;
    ScriptedPrompt prompt_;
    std::unique_ptr<MeshviewApp> app_;
    std::string nextChoice_;
    std::vector<ModelFileKind> chosenKinds_;
    std::vector<QPoint> pickedAt_;
    std::uint16_t pickColour_ = 0;
};

TEST_F(MeshviewDlgTest, ControlsStandWhereTheLayoutPutsThem) {
    EXPECT_EQ(window().clientArea()->size(), dialogSize(489, 318));
    EXPECT_EQ(window().renderRect(), dialogRect(7, 1, 331, 276).adjusted(5, 14, -5, -5));
    EXPECT_EQ(window().windowTitle(), "Meshview");
    const struct {
        QWidget* widget;
        QRect place;
    } places[] = {
        {window().keySlider(), dialogRect(7, 287, 332, 19)},
        {window().keyEdit(), dialogRect(341, 293, 24, 12)},
        {window().fpsLabel(), dialogRect(459, 7, 23, 13)},
        {window().heightEdit(), dialogRect(354, 15, 45, 12)},
        {window().heightResizeButton(), dialogRect(404, 13, 29, 16)},
        {window().kfEdit(), dialogRect(355, 40, 45, 12)},
        {window().kfResizeButton(), dialogRect(405, 38, 29, 16)},
        {window().objectList(), dialogRect(349, 62, 133, 136)},
        {window().selectButton(), dialogRect(353, 204, 123, 16)},
        {window().nameEdit(), dialogRect(357, 234, 83, 12)},
        {window().renameButton(), dialogRect(444, 234, 35, 12)},
        {window().doubleSideButton(), dialogRect(352, 255, 124, 13)},
        {window().flipNormalsButton(), dialogRect(351, 272, 124, 13)},
    };
    for (const auto& [widget, place] : places)
        EXPECT_EQ(widget->geometry(), place) << widget->objectName().toStdString();

    // Texts and starting states.
    std::vector<std::string> labels;
    for (const QLabel* label : window().clientArea()->findChildren<QLabel*>())
        labels.push_back(label->text().toStdString());
    EXPECT_NE(std::find(labels.begin(), labels.end(), "FPS"), labels.end());
    EXPECT_EQ(window().heightResizeButton()->text(), "Resize");
    EXPECT_EQ(window().selectButton()->text(), "Select Mode");
    EXPECT_TRUE(window().selectButton()->isCheckable());
    EXPECT_FALSE(window().selectButton()->isChecked());
    EXPECT_EQ(window().renameButton()->text(), "Rename");
    EXPECT_EQ(window().doubleSideButton()->text(), "Change DoubleSide State");
    EXPECT_EQ(window().flipNormalsButton()->text(), "Flip Normals");
    EXPECT_FALSE(editingEnabled());
    EXPECT_EQ(text(window().keyEdit()), "0");
    EXPECT_TRUE(window().keyEdit()->isReadOnly());
    EXPECT_EQ(window().keyEdit()->alignment(), Qt::AlignCenter);
    EXPECT_EQ(text(window().heightEdit()), "0");
    EXPECT_EQ(text(window().kfEdit()), "1");
    EXPECT_EQ(window().keySlider()->minimum(), 0);
    EXPECT_EQ(window().keySlider()->maximum(), 10);
    EXPECT_EQ(window().objectList()->headerItem()->text(0), "Objects list");
    EXPECT_EQ(window().objectList()->columnWidth(0), 190);
    EXPECT_EQ(window().objectList()->header()->defaultAlignment(), Qt::AlignCenter);
    for (const QPushButton* b : window().findChildren<QPushButton*>())
        EXPECT_NE(b->text(), "Exit") << "the window has no Exit button";

    // Menus.
    const QList<QAction*> menus = window().menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Settings");
    std::vector<std::string> file;
    for (const QAction* a : menus[0]->menu()->actions())
        file.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    EXPECT_EQ(file, (std::vector<std::string>{"Load C&LF File", "-", "Load C&FF File", "-", "&Save",
                                              "-", "Recent File1", "Recent File2", "Recent File3",
                                              "Recent File4", "-", "E&xit"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(window().recentAction(i)->isEnabled());
    std::vector<std::string> settings;
    for (const QAction* a : menus[1]->menu()->actions())
        settings.push_back(a->text().toStdString());
    EXPECT_EQ(settings, (std::vector<std::string>{"&Model Path", "&Texture Path"}));
}

TEST_F(MeshviewDlgTest, TheListIsFilledAfterTheOpenCommandHasReturned) {
    test::writeThreeSquares(dir_.file("Squares.clf"), 2.0f, 4);
    nextChoice_ = dir_.file("Squares.clf");
    window().openModelFile(ModelFileKind::Clf);
    // The notification is posted: nothing is listed until the event loop runs.
    EXPECT_EQ(scene().objectCount(), 1);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(window().keySlider()->maximum(), 10);
    QApplication::processEvents();
    EXPECT_EQ(rows(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(window().keySlider()->maximum(), 3);
    EXPECT_EQ(window().keySlider()->value(), 0);
    EXPECT_EQ(text(window().heightEdit()), "2");
    EXPECT_EQ(window().windowTitle(), "Kelvo : Squares.clf");
    EXPECT_EQ(chosenKinds_, std::vector<ModelFileKind>{ModelFileKind::Clf});
    // The camera stands before the model, twice its height back.
    EXPECT_NEAR(window().camera().offset.z, 4.0f, 1e-6);
    EXPECT_TRUE(prompt_.texts().empty());
}

TEST_F(MeshviewDlgTest, SelectModePicksWithTheLeftButtonInsteadOfDragging) {
    test::writeThreeSquares(dir_.file("Squares.clf"));
    open("Squares.clf");
    // Outside select mode the left button drags the camera.
    mouse(QEvent::MouseButtonPress, inside());
    EXPECT_TRUE(window().dragging());
    mouse(QEvent::MouseButtonRelease, inside());
    EXPECT_TRUE(pickedAt_.empty());

    window().selectButton()->click();
    EXPECT_TRUE(window().panel().selectMode());
    EXPECT_EQ(currentObject(scene()), scene().object(0));
    EXPECT_FALSE(editingEnabled());

    pickColour_ = static_cast<std::uint16_t>(mesh(0, 1).fillColor);
    click(inside());
    EXPECT_FALSE(window().dragging());
    EXPECT_EQ(pickedAt_, std::vector<QPoint>{inside()});
    EXPECT_EQ(mesh(0, 1).mark, kMarkPicked);
    EXPECT_TRUE(editingEnabled());
    EXPECT_EQ(text(window().nameEdit()), "b");

    // The background: the red mesh goes, the controls stay as they are.
    pickColour_ = 0;
    click(inside());
    EXPECT_EQ(mesh(0, 1).mark, kMarkNone);
    EXPECT_EQ(window().panel().selectedMesh(), -1);
    EXPECT_TRUE(editingEnabled());
    EXPECT_EQ(text(window().nameEdit()), "b");

    window().selectButton()->click();
    EXPECT_FALSE(window().panel().selectMode());
    EXPECT_EQ(currentObject(scene()), nullptr);
    EXPECT_FALSE(editingEnabled());
    mouse(QEvent::MouseButtonPress, inside());
    EXPECT_TRUE(window().dragging());
}

TEST_F(MeshviewDlgTest, RenameAndBothButtonsActOnThePickedMesh) {
    test::writeThreeSquares(dir_.file("Squares.clf"));
    open("Squares.clf");
    window().selectButton()->click();
    pickColour_ = static_cast<std::uint16_t>(mesh(0, 2).fillColor);
    click(inside());

    window().nameEdit()->setText("rudder");
    window().renameButton()->click();
    EXPECT_EQ(mesh(0, 2).name, "rudder");
    EXPECT_EQ(rows(), (std::vector<std::string>{"a", "b", "rudder"}));
    window().nameEdit()->clear();
    window().renameButton()->click();
    EXPECT_EQ(mesh(0, 2).name, "rudder");

    // "Flip Normals" toggles the double-sided flag, "Change DoubleSide State" reverses the
    // triangles; each twice gives back what was there.
    const std::vector<std::uint16_t> indices = mesh(0, 2).indices;
    window().flipNormalsButton()->click();
    EXPECT_FALSE(mesh(0, 2).doubleSided);
    EXPECT_EQ(mesh(0, 2).indices, indices);
    window().flipNormalsButton()->click();
    EXPECT_TRUE(mesh(0, 2).doubleSided);
    window().doubleSideButton()->click();
    EXPECT_EQ(mesh(0, 2).indices[1], indices[2]);
    EXPECT_TRUE(mesh(0, 2).doubleSided);
    window().doubleSideButton()->click();
    EXPECT_EQ(mesh(0, 2).indices, indices);
    // Other meshes are untouched.
    EXPECT_TRUE(mesh(0, 1).doubleSided);
}

TEST_F(MeshviewDlgTest, TheSliderPosesTheModelAtItsKeys) {
    test::writeThreeSquares(dir_.file("Squares.clf"), 1.0f, 3);
    open("Squares.clf");
    EXPECT_EQ(window().keySlider()->maximum(), 2);
    window().keySlider()->setValue(2);
    EXPECT_EQ(text(window().keyEdit()), "2");
    EXPECT_EQ(mesh(0, 0).vertices[0].y, 2.0f);
    window().keySlider()->setValue(1);
    EXPECT_EQ(mesh(0, 0).vertices[0].y, 1.0f);

    // Another read moves the slider back to 0 without posing the model or changing the number.
    test::writeThreeSquares(dir_.file("More.clf"), 1.0f, 5);
    open("More.clf");
    EXPECT_EQ(window().keySlider()->maximum(), 4);
    EXPECT_EQ(window().keySlider()->value(), 0);
    EXPECT_EQ(text(window().keyEdit()), "1");
}

TEST_F(MeshviewDlgTest, BothResizeButtonsWithTheirValidation) {
    test::writeThreeSquares(dir_.file("Squares.clf"), 2.0f);
    open("Squares.clf");
    window().heightEdit()->setText("4");
    window().heightResizeButton()->click();
    EXPECT_EQ(scene().object(0)->boundsSize.y, 4.0f);
    EXPECT_EQ(text(window().heightEdit()), "4");
    EXPECT_EQ(text(window().kfEdit()), "2");
    EXPECT_NEAR(window().camera().offset.z, 8.0f, 1e-5);  // fitted again

    window().kfEdit()->setText("0.5");
    window().kfResizeButton()->click();
    window().kfResizeButton()->click();
    EXPECT_EQ(scene().object(0)->boundsSize.y, 1.0f);
    EXPECT_EQ(text(window().heightEdit()), "1");
    EXPECT_EQ(text(window().kfEdit()), "0.5");
    EXPECT_TRUE(prompt_.texts().empty());

    // Both fields are read whichever button is pressed; the Height is checked first.
    const struct {
        const char* height;
        const char* kf;
        QPushButton* button;
        const char* message;
        QLineEdit* focus;
    } refusals[] = {
        {"0", "1", window().kfResizeButton(), kHeightRangeText, window().heightEdit()},
        {"abc", "1", window().heightResizeButton(), kEnterANumberText, window().heightEdit()},
        {"1", "9001", window().heightResizeButton(), kKfRangeText, window().kfEdit()},
        {"1", "", window().kfResizeButton(), kEnterANumberText, window().kfEdit()},
    };
    for (const auto& r : refusals) {
        prompt_.reset();
        window().heightEdit()->setText(r.height);
        window().kfEdit()->setText(r.kf);
        r.button->click();
        EXPECT_EQ(prompt_.texts(), std::vector<std::string>{r.message});
        EXPECT_EQ(scene().object(0)->boundsSize.y, 1.0f);
        // The refused field is selected for retyping.
        EXPECT_EQ(r.focus->selectedText(), r.focus->text());
    }
}

TEST_F(MeshviewDlgTest, SaveWritesTheModelAndTellsWhatCouldNotBeWritten) {
    test::writeThreeSquares(dir_.file("Squares.clf"));
    open("Squares.clf");
    window().selectButton()->click();
    pickColour_ = static_cast<std::uint16_t>(mesh(0, 0).fillColor);
    click(inside());
    window().nameEdit()->setText("keel");
    window().renameButton()->click();
    window().saveAction()->trigger();
    const auto saved = parseClf(test::readBytes(dir_.file("Squares.clf")));
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->version, kClfEditedVersion);
    EXPECT_EQ(saved->levels[0][0].name, "keel");
    EXPECT_TRUE(prompt_.texts().empty());

    scene().object(0)->path = dir_.file("gone/Squares.clf");
    window().saveAction()->trigger();
    EXPECT_EQ(prompt_.texts(), std::vector<std::string>{"Cannot save the model file\n" +
                                                        dir_.file("gone/Squares.clf")});
}

TEST_F(MeshviewDlgTest, ClearingResetsTheEditingControls) {
    test::writeThreeSquares(dir_.file("Squares.clf"));
    open("Squares.clf");
    window().selectButton()->click();
    pickColour_ = static_cast<std::uint16_t>(mesh(0, 0).fillColor);
    click(inside());
    ASSERT_TRUE(editingEnabled());

    nextChoice_.clear();  // the file dialog is cancelled after the scene was cleared
    window().openModelFile(ModelFileKind::Clf);
    QApplication::processEvents();
    EXPECT_TRUE(rows().empty());
    EXPECT_FALSE(window().selectButton()->isChecked());
    EXPECT_FALSE(window().panel().selectMode());
    EXPECT_FALSE(editingEnabled());
    // The left button drags again.
    test::writeThreeSquares(dir_.file("Squares.clf"));
    open("Squares.clf");
    mouse(QEvent::MouseButtonPress, inside());
    EXPECT_TRUE(window().dragging());
}

TEST_F(MeshviewDlgTest, ARecentShipEntryReadsItsModelsAndEditingActsOnTheFirst) {
    test::writeThreeSquares(dir_.file("hull.clf"), 2.0f);
    test::writeThreeSquares(dir_.file("mast.clf"), 1.0f);
    test::DefBuilder()
        .model("hull.clf")
        .model("mast.clf", 0, 3, 0, 0)
        .add({.cls = 202, .file = "Sails.sail"})
        .write(dir_.file("Ship.def"));
    test::writeText(dir_.file("Dialog.ini"),
                    "[RECENT_FILES]\nFILE0=" + dir_.file("Ship.def") + "\n");
    app_.reset();
    SetUp();
    EXPECT_TRUE(window().recentAction(0)->isEnabled());
    window().recentAction(0)->trigger();
    QApplication::processEvents();
    ASSERT_EQ(scene().objectCount(), 2);  // model records only
    EXPECT_EQ(rows(), (std::vector<std::string>{"a", "b", "c", "a", "b", "c"}));

    window().selectButton()->click();
    EXPECT_TRUE(scene().object(0)->visible);
    EXPECT_FALSE(scene().object(1)->visible);
    window().kfEdit()->setText("2");
    window().kfResizeButton()->click();
    EXPECT_EQ(scene().object(0)->boundsSize.x, 20.0f);
    EXPECT_EQ(scene().object(1)->boundsSize.x, 5.0f);
    window().saveAction()->trigger();
    // Each model goes back to its own file; the DEF file is not written.
    EXPECT_EQ(parseClf(test::readBytes(dir_.file("hull.clf")))->levels[0][2].vertices[1].x, 20.0f);
    EXPECT_EQ(parseClf(test::readBytes(dir_.file("mast.clf")))->version, kClfEditedVersion);
    EXPECT_EQ(test::readBytes(dir_.file("Ship.def")), test::DefBuilder()
                                                          .model("hull.clf")
                                                          .model("mast.clf", 0, 3, 0, 0)
                                                          .add({.cls = 202, .file = "Sails.sail"})
                                                          .bytes());
}

TEST_F(MeshviewDlgTest, ExitAndEscapeEndTheProgramButEnterInAFieldDoesNot) {
    window().heightEdit()->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(window().heightEdit(), &press);
    EXPECT_FALSE(app_->quitRequested());

    window().exitAction()->trigger();
    EXPECT_TRUE(app_->quitRequested());
    EXPECT_FALSE(app_->idlePass());
    EXPECT_EQ(app_->window(), nullptr);

    app_.reset();
    SetUp();
    window().reject();  // Escape
    EXPECT_TRUE(app_->quitRequested());
}

}  // namespace
}  // namespace slipway
