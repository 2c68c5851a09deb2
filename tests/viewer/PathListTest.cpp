// The path list dialog's effect on Dialog.ini: loading, Up, Down, Add, Del, OK and Cancel.

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestFiles.h"
#include "base/Format.h"
#include "viewer/PathList.h"

namespace slipway {
namespace {

class PathListTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "viewer_tests";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete app_;
        app_ = nullptr;
    }
    static inline QApplication* app_ = nullptr;

    void writeIni(const std::string& text) { test::writeText(dir_.file("Dialog.ini"), text); }
    std::string ini() const { return test::readText(dir_.file("Dialog.ini")); }
    std::vector<std::string> saved(const char* section = kModelPathSection) const {
        return paths_.directoryList(section, 40);
    }
    static std::vector<std::string> rows(const PathList& dialog) {
        std::vector<std::string> texts;
        for (int i = 0; i < dialog.list()->topLevelItemCount(); ++i) {
            texts.push_back(dialog.list()->topLevelItem(i)->text(0).toStdString());
        }
        return texts;
    }
    static void select(PathList& dialog, int row) {
        dialog.list()->topLevelItem(row)->setSelected(true);
    }

    test::TempDir dir_;
    SearchPaths paths_{dir_.path()};
};

TEST_F(PathListTest, ShowsTheListUpToTheFirstGapAndOkRewritesTheSection) {
    writeIni("[MODEL_PATH]\nPATH0=/a\nPATH1=/b\nPATH3=/d\n[TEXTURE_PATH]\nPATH0=/t\n");
    PathList dialog(paths_, PathList::ModelList);
    EXPECT_EQ(dialog.windowTitle(), "List Directories for Model Files");
    EXPECT_EQ(rows(dialog), (std::vector<std::string>{"/a", "/b"}));
    EXPECT_TRUE(dialog.list()->selectedItems().isEmpty());
    dialog.accept();
    EXPECT_EQ(saved(), (std::vector<std::string>{"/a", "/b"}));
    EXPECT_EQ(ini().find("PATH3"), std::string::npos);
    EXPECT_EQ(saved(kTexturePathSection), (std::vector<std::string>{"/t"}));
}

TEST_F(PathListTest, ShowsFifteenRowsAtMostAndKeepsTheEntriesBeyond) {
    // Add has no limit, so the section can hold more than the fifteen rows shown; OK must not
    // silently drop the rest.
    std::string text = "[TEXTURE_PATH]\n";
    std::vector<std::string> all;
    for (int i = 0; i < 17; ++i) {
        text += formatText("PATH%d=/d%d\n", i, i);
        all.push_back(formatText("/d%d", i));
    }
    writeIni(text);
    {
        PathList dialog(paths_, PathList::TextureList);
        EXPECT_EQ(dialog.windowTitle(), "List Directories for Texture Files");
        EXPECT_EQ(dialog.list()->topLevelItemCount(), 15);
        dialog.accept();
        EXPECT_EQ(saved(kTexturePathSection), all);
    }
    // Deleting a shown row moves the first entry beyond into view next time.
    PathList dialog(paths_, PathList::TextureList);
    select(dialog, 0);
    dialog.deleteDirectory();
    dialog.accept();
    all.erase(all.begin());
    EXPECT_EQ(saved(kTexturePathSection), all);
    PathList again(paths_, PathList::TextureList);
    EXPECT_EQ(rows(again).back(), "/d15");
}

TEST_F(PathListTest, UpAndDownMoveTheSelectedRowAndTheSelectionWithIt) {
    writeIni("[MODEL_PATH]\nPATH0=/a\nPATH1=/b\nPATH2=/c\n");
    PathList dialog(paths_, PathList::ModelList);
    dialog.moveUp();  // nothing selected: nothing happens
    select(dialog, 2);
    dialog.moveUp();
    dialog.moveUp();
    dialog.moveUp();  // already first
    EXPECT_EQ(rows(dialog), (std::vector<std::string>{"/c", "/a", "/b"}));
    ASSERT_EQ(dialog.list()->selectedItems().size(), 1);
    EXPECT_EQ(dialog.list()->indexOfTopLevelItem(dialog.list()->selectedItems()[0]), 0);
    dialog.moveDown();
    dialog.downButton()->click();
    dialog.moveDown();  // already last
    EXPECT_EQ(rows(dialog), (std::vector<std::string>{"/a", "/b", "/c"}));
    dialog.accept();
    EXPECT_EQ(saved(), (std::vector<std::string>{"/a", "/b", "/c"}));
}

TEST_F(PathListTest, AddAppendsEvenTwiceAndDelRemovesTheSelection) {
    writeIni("[MODEL_PATH]\nPATH0=/a\n");
    PathList dialog(paths_, PathList::ModelList);
    QString next = "/new";
    dialog.chooseDirectory = [&] { return next; };
    dialog.addButton()->click();
    dialog.addDirectory();
    next.clear();  // the user cancels the browser
    dialog.addDirectory();
    EXPECT_EQ(rows(dialog), (std::vector<std::string>{"/a", "/new", "/new"}));
    dialog.deleteDirectory();  // the last added row is selected
    dialog.deleteDirectory();  // no selection after a delete
    EXPECT_EQ(rows(dialog), (std::vector<std::string>{"/a", "/new"}));
    dialog.accept();
    EXPECT_EQ(saved(), (std::vector<std::string>{"/a", "/new"}));
}

TEST_F(PathListTest, DeletingEveryRowLeavesTheSectionEmpty) {
    writeIni("[MODEL_PATH]\nPATH0=/a\nPATH1=/b\n");
    PathList dialog(paths_, PathList::ModelList);
    for (int i = 0; i < 2; ++i) {
        select(dialog, 0);
        dialog.delButton()->click();
    }
    dialog.accept();
    EXPECT_TRUE(saved().empty());
}

TEST_F(PathListTest, CancelLeavesTheFileExactlyAsItWas) {
    const std::string original = "; kept\n[MODEL_PATH]\nPATH0=/a\nPATH1=/b\n\n[OTHER]\nX=1\n";
    writeIni(original);
    PathList dialog(paths_, PathList::ModelList);
    select(dialog, 1);
    dialog.moveUp();
    dialog.chooseDirectory = [] { return QString("/c"); };
    dialog.addDirectory();
    dialog.reject();
    EXPECT_EQ(ini(), original);
}

TEST_F(PathListTest, EnterOnAButtonPressesThatButtonRatherThanOk) {
    // As in any dialog, the button that has the focus takes Enter; OK takes it elsewhere.
    const std::string original = "[MODEL_PATH]\nPATH0=/a\nPATH1=/b\n";
    writeIni(original);
    auto enter = [](QWidget* target) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
    };
    {
        PathList dialog(paths_, PathList::ModelList);
        dialog.show();
        select(dialog, 1);
        enter(dialog.delButton());
        EXPECT_EQ(rows(dialog), (std::vector<std::string>{"/a"}));
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(ini(), original);
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Cancel") {
                enter(button);
            }
        }
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(ini(), original);
    }
    PathList dialog(paths_, PathList::ModelList);
    dialog.show();
    select(dialog, 1);
    dialog.deleteDirectory();
    enter(dialog.list());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(saved(), (std::vector<std::string>{"/a"}));
}

TEST_F(PathListTest, ArrowIconsAreBlackOnTransparent) {
    for (bool up : {true, false}) {
        const QImage image = PathList::arrowIcon(up).pixmap(32, 32).toImage();
        EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
        // The triangle's wide side is at the bottom for Up and at the top for Down.
        EXPECT_EQ(image.pixelColor(16, up ? 18 : 14), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(16, up ? 26 : 6), QColor(Qt::black));  // the dot
        EXPECT_EQ(image.pixelColor(16, up ? 23 : 9).alpha(), 0);          // gap before it
    }
}

}  // namespace
}  // namespace slipway
