// Pixmill's window offscreen: the main frame (title, menu, sizing limit, splitters, settings
// written and read back), the convert trigger and its dialogs, a batch run from the window
// with the overwrite dialog and the Esc interruption, Exit during a batch, the panes' previews
// and deletion, and the viewer's controls.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <sstream>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSlider>
#include <QTest>

#include "PixmillFixtures.h"
#include "PixmillTestApp.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/Paths.h"
#include "pixels/TfFile.h"
#include "pixmill/ColourChoiceDialog.h"
#include "pixmill/CommandLine.h"
#include "pixmill/ConvertDialog.h"
#include "pixmill/ExportDialog.h"
#include "pixmill/FilePane.h"
#include "pixmill/MainView.h"
#include "pixmill/OverwriteDialog.h"
#include "pixmill/PictureCanvas.h"
#include "pixmill/PixmillSettings.h"
#include "pixmill/PixmillWindow.h"
#include "pixmill/ViewerPanel.h"

namespace slipway::pixmill {
namespace {

using ::testing::ElementsAre;
namespace fs = std::filesystem;

QSettings settings() {
    return QSettings(kSettingsOrganization, kSettingsApplication);
}

void setFolders(const std::string& source, const std::string& target) {
    QSettings s = settings();
    s.setValue("Paths/tga", QString::fromStdString(source));
    s.setValue("Paths/tf", QString::fromStdString(target));
    s.sync();
}

// Selects the rows whose texts are given (and nothing else) in a listed pane.
void selectRows(FilePane& pane, const std::vector<std::string>& texts) {
    pane.selectionModel()->clearSelection();
    const auto& entries = pane.paneModel().entries();
    for (std::size_t row = 0; row < entries.size(); ++row) {
        for (const std::string& text : texts) {
            if (entries[row].text == text)
                pane.selectionModel()->select(
                    pane.model()->index(static_cast<int>(row), 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
}

class WindowTest : public testing::Test {
  protected:
    WindowTest() {
        test::pixmillTestApplication();
        test::clearPixmillSettings();
    }
    // A window on the two folders, shown, with both panes listed.
    std::unique_ptr<PixmillWindow> openWindow(const std::string& source,
                                              const std::string& target) {
        setFolders(source, target);
        auto window = std::make_unique<PixmillWindow>();
        window->showStored();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        waitListed(*window->view()->sourcePane());
        waitListed(*window->view()->targetPane());
        return window;
    }
    static void waitListed(FilePane& pane) {
        EXPECT_TRUE(test::waitUntil([&] { return !pane.listing(); }));
    }

    test::TempDir sourceDir, targetDir;
};

TEST_F(WindowTest, FrameTitleMenuAndSizingLimit) {
    auto window = openWindow(sourceDir.path(), targetDir.path());
    EXPECT_EQ(window->windowTitle(), "Pixmill");
    const QList<QAction*> menu = window->menuBar()->actions();
    ASSERT_EQ(menu.size(), 2);
    EXPECT_EQ(menu[0]->text(), "&Convert");
    EXPECT_EQ(menu[0]->statusTip(), "Convert tga or bmp images to tf format");
    EXPECT_EQ(menu[1]->text(), "E&xit");
    // A first start: 660 x 490, splitters at 27 % and 73 % of the view's width.
    EXPECT_EQ(window->size(), QSize(660, 490));
    MainView& view = *window->view();
    const int width = view.width();
    EXPECT_EQ(view.sourcePane()->geometry(), QRect(0, 0, int(width * 0.27f), view.height()));
    EXPECT_EQ(view.targetPane()->width(), int(width * (1 - 0.73f)));
    EXPECT_EQ(view.viewer()->x(), view.sourcePane()->width() + 3);
    EXPECT_EQ(view.viewer()->geometry().right() + 1 + 3, view.targetPane()->x());

    window->resize(300, 200);
    EXPECT_EQ(window->size(), QSize(640, 480)) << "kept at least 640 x 480";
}

TEST_F(WindowTest, SplittersDragWithinTheirLimitsAndOnlyFromNearby) {
    auto window = openWindow(sourceDir.path(), targetDir.path());
    MainView& view = *window->view();
    const int width = view.width();
    const int y = view.height() / 2;
    const int left = int(width * 0.27f);
    const int right = int(width * 0.73f);
    // Five pixels away from the splitter: nothing.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(left + 5, y));
    EXPECT_FALSE(view.splitterBar()->isVisible());
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(left + 5, y));

    // The left splitter dragged to the far right stops 0.4 below the right one.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(left + 1, y));
    EXPECT_TRUE(view.splitterBar()->isVisible());
    EXPECT_EQ(view.splitterBar()->width(), 3);
    QTest::mouseMove(&view, QPoint(width - 1, y));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(width - 1, y));
    EXPECT_FALSE(view.splitterBar()->isVisible());
    EXPECT_NEAR(view.splitters().left(), 0.73 - 0.4, 1e-6);
    EXPECT_EQ(view.sourcePane()->width(), int(width * view.splitters().left()));

    // The right splitter dragged to the far right stops at 0.9.
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(right + 2, y));
    QTest::mouseMove(&view, QPoint(width - 1, y));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(width - 1, y));
    EXPECT_NEAR(view.splitters().right(), 0.9, 1e-6);
    EXPECT_EQ(view.targetPane()->width(), int(width * (1 - view.splitters().right())));
}

TEST_F(WindowTest, SettingsAreReadAtStartAndWrittenBackAtTheEnd) {
    test::TempDir other;
    {
        QSettings s = settings();
        s.setValue(kLeftPosKey, 20000);
        s.setValue(kRightPosKey, 65000);
        s.setValue(kBackgroundKey, 0x123456);
        s.setValue(kWindowXKey, 40);
        s.setValue(kWindowYKey, 30);
        s.setValue(kWindowWidthKey, 800);
        s.setValue(kWindowHeightKey, 600);
        s.setValue(kWindowShowKey, kShowNormal);
    }
    auto window = openWindow(sourceDir.path(), targetDir.path());
    EXPECT_EQ(window->size(), QSize(800, 600));
    EXPECT_EQ(window->pos(), QPoint(40, 30));
    EXPECT_EQ(window->view()->splitters().storedLeft(), 20000);
    EXPECT_EQ(window->view()->splitters().storedRight(), 65000);
    EXPECT_EQ(window->view()->viewer()->viewer().background(), 0x123456u);
    EXPECT_EQ(window->view()->sourcePane()->folder(), sourceDir.path());
    EXPECT_EQ(window->view()->targetPane()->folder(), targetDir.path());

    window->view()->viewer()->setBackground(0x00FF80);
    window->view()->targetPane()->openFolder(other.path());
    window->move(-50, 20);
    window->resize(700, 520);
    QTest::qWait(10);
    window.reset();

    QSettings s = settings();
    EXPECT_EQ(s.value(kBackgroundKey).toUInt(), 0x00FF80u);
    EXPECT_EQ(s.value("Paths/tf").toString().toStdString(), other.path());
    EXPECT_EQ(s.value("Paths/tga").toString().toStdString(), sourceDir.path());
    EXPECT_EQ(s.value(kLeftPosKey).toInt(), 20000);
    EXPECT_EQ(s.value(kRightPosKey).toInt(), 65000);
    EXPECT_EQ(s.value(kWindowXKey).toInt(), 0) << "a negative left is stored as 0";
    EXPECT_EQ(s.value(kWindowYKey).toInt(), 20);
    EXPECT_EQ(s.value(kWindowWidthKey).toInt(), 700);
    EXPECT_EQ(s.value(kWindowHeightKey).toInt(), 520);
    EXPECT_EQ(s.value(kWindowShowKey).toInt(), kShowNormal);
}

TEST_F(WindowTest, ResetStartUpRemovesTheSettingsAndOpensNoWindow) {
    {
        QSettings s = settings();
        s.setValue(kLeftPosKey, 30000);
        s.setValue("Paths/tga", "/somewhere");
        s.sync();
        ASSERT_TRUE(fs::exists(s.fileName().toStdString()));
    }
    for (const char* argument : {"/u", "-R"}) {
        settings().setValue(kLeftPosKey, 30000);
        settings().sync();
        // No display is reachable: opening a window would fail the program.
        const std::string command =
            "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "
            "XDG_CONFIG_HOME=" +
            test::testConfigHome() + " " + PIXMILL_PROGRAM + " " + argument + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << argument;
        EXPECT_EQ(WEXITSTATUS(status), 0) << argument;
        QSettings s = settings();
        s.sync();
        EXPECT_TRUE(s.allKeys().isEmpty()) << argument;
    }
    // The console commands are unchanged, and without a display either.
    test::writeTgaPicture(sourceDir.file("a.tga"), 4, 4, 24);
    const std::string info = "env -u DISPLAY QT_QPA_PLATFORM=xcb " + std::string(PIXMILL_PROGRAM) +
                             " info " + sourceDir.file("a.tga") + " >/dev/null 2>&1";
    const int status = std::system(info.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(WindowTest, ConvertDialogDefaultsAndEnablingRules) {
    test::pixmillTestApplication();
    ConvertDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Convert tga | bmp files to tf");
    for (const ConvertDialog::ChainControls* chain : {&dialog.chain16(), &dialog.chain8()}) {
        EXPECT_TRUE(chain->enabled->isChecked());
        EXPECT_TRUE(chain->minimumSize->isChecked());
        EXPECT_FALSE(chain->numberMips->isChecked());
        EXPECT_EQ(chain->slider->minimum(), 0);
        EXPECT_EQ(chain->slider->maximum(), 15);
        EXPECT_EQ(chain->slider->value(), 4);
        EXPECT_EQ(chain->slider->singleStep(), 1);
        EXPECT_EQ(chain->slider->pageStep(), 1);
        EXPECT_EQ(chain->label->text(), "16 pix");
    }
    EXPECT_EQ(dialog.chain16().enabled->text(), "16 bit");
    EXPECT_EQ(dialog.chain8().enabled->text(), "8 bit");
    EXPECT_FALSE(dialog.fourBitAlphaBox()->isChecked());
    EXPECT_TRUE(dialog.attenuationSlider()->isHidden());
    EXPECT_TRUE(dialog.attenuationTitle()->isHidden());
    EXPECT_TRUE(dialog.attenuationValue()->isHidden());
    EXPECT_TRUE(dialog.verticalCopy(0)->isChecked());
    EXPECT_TRUE(dialog.horizontalCopy(0)->isChecked());
    EXPECT_EQ(dialog.verticalCopy(2)->text(), "Down -> up");
    EXPECT_EQ(dialog.horizontalCopy(1)->text(), "Left -> right");
    EXPECT_TRUE(dialog.convertButton()->isEnabled());
    const ConvertOptions defaults = dialog.options();
    EXPECT_TRUE(defaults.chain16.enabled && defaults.chain8.enabled);
    EXPECT_EQ(defaults.chain16.mode, MipCountMode::MinimumSize);
    EXPECT_EQ(defaults.chain8.slider, 4);
    EXPECT_EQ(defaults.copyMode(), 0);
    EXPECT_EQ(defaults.attenuationPosition, 0);

    // "Number mips": 1..16 at 1, labelled "mips N"; back to "Minimum mips size": 0..15 at 4.
    dialog.chain16().numberMips->click();
    EXPECT_EQ(dialog.chain16().slider->minimum(), 1);
    EXPECT_EQ(dialog.chain16().slider->maximum(), 16);
    EXPECT_EQ(dialog.chain16().slider->value(), 1);
    EXPECT_EQ(dialog.chain16().label->text(), "mips 1");
    dialog.chain16().slider->setValue(9);
    EXPECT_EQ(dialog.chain16().label->text(), "mips 9");
    dialog.chain16().minimumSize->click();
    EXPECT_EQ(dialog.chain16().slider->value(), 4);
    dialog.chain16().slider->setValue(6);
    EXPECT_EQ(dialog.chain16().label->text(), "64 pix");

    // Unchecking a chain disables its controls; Convert needs one chain at least.
    dialog.chain16().enabled->click();
    EXPECT_FALSE(dialog.chain16().slider->isEnabled());
    EXPECT_FALSE(dialog.chain16().numberMips->isEnabled());
    EXPECT_FALSE(dialog.chain16().label->isEnabled());
    EXPECT_TRUE(dialog.convertButton()->isEnabled());
    dialog.chain8().enabled->click();
    EXPECT_FALSE(dialog.convertButton()->isEnabled());
    dialog.chain16().enabled->click();
    EXPECT_TRUE(dialog.convertButton()->isEnabled());
    EXPECT_TRUE(dialog.chain16().slider->isEnabled());

    // The attenuation shows with the four-bit alpha, and its value stays when hidden again.
    dialog.fourBitAlphaBox()->click();
    EXPECT_FALSE(dialog.attenuationSlider()->isHidden());
    EXPECT_EQ(dialog.attenuationTitle()->text(), "Attenuation");
    EXPECT_EQ(dialog.attenuationValue()->text(), "1.0");
    dialog.attenuationSlider()->setValue(3);
    EXPECT_EQ(dialog.attenuationValue()->text(), "0.7");
    dialog.fourBitAlphaBox()->click();
    EXPECT_TRUE(dialog.attenuationSlider()->isHidden());
    dialog.verticalCopy(2)->click();
    dialog.horizontalCopy(1)->click();
    const ConvertOptions chosen = dialog.options();
    EXPECT_EQ(chosen.attenuationPosition, 3);
    EXPECT_FALSE(chosen.fourBitAlpha);
    EXPECT_EQ(chosen.copyMode(), 1 * 4 + 2);
    EXPECT_EQ(chosen.chain16.slider, 6);
    EXPECT_FALSE(chosen.chain8.enabled);
}

TEST_F(WindowTest, ExportDialogOpensOnTheSixteenBitChainWhenAnyFileHasOne) {
    struct Case {
        ExportScan scan;
        int chain;
        int maximum;
    };
    const Case cases[] = {{{3, 5, false}, 16, 2}, {{0, 5, false}, 8, 4}, {{1, 0, true}, 16, 0}};
    for (const Case& c : cases) {
        ExportDialog dialog(c.scan);
        EXPECT_EQ(dialog.windowTitle(), "Convert TF to TGA");
        EXPECT_EQ(dialog.from16Button()->isChecked(), c.chain == 16);
        EXPECT_EQ(dialog.from8Button()->isChecked(), c.chain == 8);
        EXPECT_EQ(dialog.levelSlider()->maximum(), c.maximum);
        EXPECT_EQ(dialog.levelSlider()->value(), 0);
        EXPECT_EQ(dialog.levelLabel()->text(), "mip 0");
        EXPECT_TRUE(dialog.depthButton(32)->isChecked());
        const ExportOptions options = dialog.options();
        EXPECT_EQ(options.sourceChain, c.chain);
        EXPECT_EQ(options.depth, 32);
        EXPECT_EQ(options.level, 0);
    }
    ExportDialog dialog({3, 5, false});
    dialog.levelSlider()->setValue(2);
    EXPECT_EQ(dialog.levelLabel()->text(), "mip 2");
    dialog.from8Button()->click();
    EXPECT_EQ(dialog.levelSlider()->value(), 0);
    EXPECT_EQ(dialog.levelSlider()->maximum(), 4);
    dialog.depthButton(16)->click();
    dialog.levelSlider()->setValue(3);
    const ExportOptions options = dialog.options();
    EXPECT_EQ(options.sourceChain, 8);
    EXPECT_EQ(options.level, 3);
    EXPECT_EQ(options.depth, 16);
}

TEST_F(WindowTest, OverwriteDialogGivesEachButtonsAnswer) {
    test::pixmillTestApplication();
    const std::pair<const char*, OverwriteChoice> buttons[] = {
        {"Yes", OverwriteChoice::Yes},
        {"No", OverwriteChoice::No},
        {"Yes to All", OverwriteChoice::YesToAll},
        {"No to All", OverwriteChoice::NoToAll},
    };
    for (const auto& [text, choice] : buttons) {
        const QString name = text;
        test::whenModal<OverwriteDialog>([name](OverwriteDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Overwrite file");
            EXPECT_EQ(dialog.pathField()->text(), "/out/Sail.tf");
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                if (button->text() == name)
                    button->click();
            }
        });
        EXPECT_EQ(OverwriteDialog::ask("/out/Sail.tf", nullptr), choice) << text;
    }
    test::whenModal<OverwriteDialog>(
        [](OverwriteDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(OverwriteDialog::ask("/out/Sail.tf", nullptr), OverwriteChoice::Closed);
}

// Presses a button of the open convert dialog.
void acceptConvertDialog() {
    test::whenModal<ConvertDialog>([](ConvertDialog& dialog) { dialog.convertButton()->click(); });
}

TEST_F(WindowTest, ConvertFromTheWindowAsksBeforeReplacingAndWritesTheCommandLinesFiles) {
    for (const char* name : {"a", "b", "c"})
        test::writeTgaPicture(sourceDir.file(std::string(name) + ".tga"), 16, 16, 32 | formatAlpha,
                              name[0]);
    test::writeText(targetDir.file("b.tf"), "old");
    test::writeText(targetDir.file("c.tf"), "old");
    auto window = openWindow(sourceDir.path(), targetDir.path());
    FilePane& source = *window->view()->sourcePane();
    selectRows(source, {"a", "b", "c"});
    source.setFocus();
    std::vector<QString> asked;
    test::whenModal<OverwriteDialog>([&](OverwriteDialog& dialog) {
        asked.push_back(dialog.pathField()->text());
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Yes to All")
                button->click();
        }
    });
    acceptConvertDialog();
    QTest::keyClick(&source, Qt::Key_F5);  // F5 in the source pane
    EXPECT_TRUE(window->busy());
    EXPECT_FALSE(window->convertAction()->isEnabled());
    EXPECT_TRUE(window->progressBar()->isVisible());
    ASSERT_TRUE(test::waitUntil([&] { return !window->busy(); }));
    EXPECT_THAT(asked, ElementsAre(QString::fromStdString(targetDir.file("b.tf"))));
    EXPECT_EQ(window->windowTitle(), "Pixmill");
    EXPECT_TRUE(window->convertAction()->isEnabled());
    EXPECT_FALSE(window->progressBar()->isVisible());
    EXPECT_EQ(window->focusWidget(), &source);
    // The target pane lists the new textures.
    waitListed(*window->view()->targetPane());
    EXPECT_EQ(window->view()->targetPane()->paneModel().entries()[3].text, "c");

    test::TempDir byCommand;
    std::ostringstream out, err;
    ASSERT_EQ(runCommand({"convert", "-o", byCommand.path(), sourceDir.file("a.tga"),
                          sourceDir.file("b.tga"), sourceDir.file("c.tga")},
                         out, err),
              kExitSuccess);
    for (const char* name : {"a.tf", "b.tf", "c.tf"})
        EXPECT_EQ(test::readBytes(targetDir.file(name)), test::readBytes(byCommand.file(name)))
            << name;
}

TEST_F(WindowTest, TheTriggerFollowsTheFocus) {
    test::writeTfTexture(targetDir.file("t.tf"), 16, 16, 24);
    auto window = openWindow(sourceDir.path(), targetDir.path());
    // Focus outside both panes: a message.
    window->view()->viewer()->zoomSlider()->setFocus();
    QString message;
    test::whenModal<QMessageBox>([&](QMessageBox& box) {
        message = box.text();
        box.accept();
    });
    window->convertAction()->trigger();
    EXPECT_EQ(message, "To convert action please select files");

    // The target pane with nothing selected.
    FilePane& target = *window->view()->targetPane();
    target.setFocus();
    target.selectionModel()->clearSelection();
    test::whenModal<QMessageBox>([&](QMessageBox& box) {
        message = box.text();
        box.accept();
    });
    window->convertAction()->trigger();
    EXPECT_EQ(message, "No selected files for convert action!");

    // The target pane with a texture: the export dialog, then a picture in the source folder.
    selectRows(target, {"t"});
    test::whenModal<ExportDialog>([](ExportDialog& dialog) {
        EXPECT_TRUE(dialog.from16Button()->isChecked());
        dialog.depthButton(24)->click();
        dialog.convertButton()->click();
    });
    window->convertAction()->trigger();
    ASSERT_TRUE(test::waitUntil([&] { return !window->busy(); }));
    EXPECT_TRUE(fileExists(sourceDir.file("t.tga")));
    EXPECT_EQ(window->focusWidget(), &target);
    waitListed(*window->view()->sourcePane());
    EXPECT_EQ(window->view()->sourcePane()->paneModel().entries()[1].text, "t");
}

TEST_F(WindowTest, EscapeDuringABatchOffersToInterruptIt) {
    for (const char* name : {"a", "b", "c"})
        test::writeTgaPicture(sourceDir.file(std::string(name) + ".tga"), 512, 512, 24, name[0]);
    auto window = openWindow(sourceDir.path(), targetDir.path());
    FilePane& source = *window->view()->sourcePane();
    for (const PromptAnswer answer : {PromptAnswer::No, PromptAnswer::Yes}) {
        for (const char* name : {"a.tf", "b.tf", "c.tf"})
            std::filesystem::remove(targetDir.file(name));
        selectRows(source, {"a", "b", "c"});
        source.setFocus();
        acceptConvertDialog();
        window->convertAction()->trigger();
        ASSERT_TRUE(window->busy());
        // Pressed and let go at once: seen at the next check although it is up by then.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QString question;
        test::whenModal<QMessageBox>([&](QMessageBox& box) {
            question = box.text();
            box.button(answer == PromptAnswer::Yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        ASSERT_TRUE(test::waitUntil([&] { return !window->busy(); }));
        EXPECT_EQ(question, "Interrupt convert action?");
        const int written = int(fileExists(targetDir.file("a.tf"))) +
                            int(fileExists(targetDir.file("b.tf"))) +
                            int(fileExists(targetDir.file("c.tf")));
        if (answer == PromptAnswer::No) {
            EXPECT_EQ(written, 3);
        } else {
            EXPECT_EQ(written, 0) << "the first file was in progress";
        }
    }
}

TEST_F(WindowTest, ExitDuringABatchAsksFirst) {
    for (const char* name : {"a", "b"})
        test::writeTgaPicture(sourceDir.file(std::string(name) + ".tga"), 512, 512, 24, name[0]);
    auto window = openWindow(sourceDir.path(), targetDir.path());
    FilePane& source = *window->view()->sourcePane();
    selectRows(source, {"a", "b"});
    source.setFocus();
    acceptConvertDialog();
    window->convertAction()->trigger();
    ASSERT_TRUE(window->busy());

    QString question;
    test::whenModal<QMessageBox>([&](QMessageBox& box) {
        question = box.text();
        box.button(QMessageBox::No)->click();
    });
    window->close();
    EXPECT_EQ(question, "Interrupt convert action?");
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->busy());

    test::whenModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
    window->close();
    ASSERT_TRUE(test::waitUntil([&] { return !window->isVisible(); }));
    EXPECT_FALSE(window->busy());
    EXPECT_FALSE(fileExists(targetDir.file("b.tf")));
}

TEST_F(WindowTest, PanesPreviewOnActivationAndArrowKeysAndDeleteToTheTrash) {
    test::writeTgaPicture(sourceDir.file("a.tga"), 8, 8, 24);
    test::writeTgaPicture(sourceDir.file("b.tga"), 16, 4, 32 | formatAlpha);
    test::writeBytes(sourceDir.file("c.bmp"), {'B', 'M'});
    fs::create_directory(sourceDir.file("sub"));
    auto window = openWindow(sourceDir.path(), targetDir.path());
    FilePane& source = *window->view()->sourcePane();
    ViewerPanel& viewer = *window->view()->viewer();
    // Rows: "..", sub, a, b, c, then the drives.
    ASSERT_GE(source.paneModel().entries().size(), 5u);
    source.setFocus();
    source.setSelectionMark(2);
    QTest::keyClick(&source, Qt::Key_Return);
    EXPECT_EQ(viewer.pathField()->text().toStdString(), sourceDir.file("a.tga"));
    QTest::keyClick(&source, Qt::Key_Down);
    EXPECT_EQ(viewer.infoField()->text(), "Size: 16x4; BPP: 32; Alpha channel");
    QTest::keyClick(&source, Qt::Key_Down);  // the BMP: nothing changes
    EXPECT_EQ(viewer.pathField()->text().toStdString(), sourceDir.file("b.tga"));

    // Delete with only a folder selected asks nothing; with files it asks and trashes them.
    selectRows(source, {"sub"});
    QTest::keyClick(&source, Qt::Key_Delete);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(fs::exists(sourceDir.file("sub")));
    selectRows(source, {"a", "sub"});
    QString question;
    test::whenModal<QMessageBox>([&](QMessageBox& box) {
        question = box.text();
        box.button(QMessageBox::Yes)->click();
    });
    QTest::keyClick(&source, Qt::Key_Delete);
    EXPECT_EQ(question, "Deleting selected files?");
    EXPECT_FALSE(fs::exists(sourceDir.file("a.tga")));
    EXPECT_TRUE(fs::exists(sourceDir.file("sub")));
    EXPECT_TRUE(fs::exists(test::testDataHome() + "/Trash/files/a.tga"))
        << "a deleted file can be taken back from the trash";
    waitListed(source);
    EXPECT_EQ(source.paneModel().entries()[2].text, "b");

    // Opening a folder, and ".." back.
    source.setSelectionMark(1);
    QTest::keyClick(&source, Qt::Key_Return);
    waitListed(source);
    EXPECT_EQ(source.folder(), sourceDir.file("sub"));
    source.setSelectionMark(0);
    QTest::keyClick(&source, Qt::Key_Return);
    waitListed(source);
    EXPECT_EQ(source.folder(), sourceDir.path());
}

TEST_F(WindowTest, ViewerControlsZoomDragAndChains) {
    ConvertOptions options;
    test::writeTfTexture(targetDir.file("t.tf"), 64, 64, 32 | formatAlpha, options);
    auto window = openWindow(sourceDir.path(), targetDir.path());
    ViewerPanel& viewer = *window->view()->viewer();
    EXPECT_EQ(viewer.surfaceField()->text(), "Pixmill v 1.4 preAplpha  `;o)");
    EXPECT_TRUE(viewer.levelSlider()->isHidden());
    viewer.show(std::make_unique<TfFile>(targetDir.file("t.tf")));
    EXPECT_FALSE(viewer.sixteenBitButton()->isHidden());
    EXPECT_FALSE(viewer.levelSlider()->isHidden());
    EXPECT_EQ(viewer.levelLabel()->text(), "mip 0");
    EXPECT_EQ(viewer.surfaceField()->text(),
              "Current size: 64x64; Texture surface: texture bpp: 15, alpha: 1 bit ");
    viewer.eightBitButton()->click();
    EXPECT_EQ(viewer.surfaceField()->text(),
              "Current size: 64x64; Texture surface: texture bpp: 8, alpha: color key ");
    EXPECT_TRUE(viewer.eightBitButton()->isChecked());
    viewer.levelSlider()->setValue(1);
    EXPECT_EQ(viewer.levelLabel()->text(), "mip 1");
    EXPECT_EQ(viewer.levelSlider()->value(), 1);
    EXPECT_EQ(viewer.surfaceField()->text(),
              "Current size: 32x32; Texture surface: texture bpp: 8, alpha: color key ");

    viewer.zoomSlider()->setValue(8);
    EXPECT_EQ(viewer.zoomLabel()->text(), "1.0 : 2.0");
    viewer.zoomSlider()->setValue(32);
    EXPECT_EQ(viewer.zoomLabel()->text(), "2.0 : 1.0");
    EXPECT_EQ(viewer.surfaceField()->text(),
              "Current size: 64x64; Texture surface: texture bpp: 8, alpha: color key ");

    // Dragged far to the right, five pixels of the picture stay in the canvas.
    PictureCanvas& canvas = *viewer.canvas();
    const QPoint start(canvas.width() / 2, canvas.height() / 2);
    QTest::mousePress(&canvas, Qt::LeftButton, {}, start);
    QTest::mouseMove(&canvas, start + QPoint(5000, 0));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, start + QPoint(5000, 0));
    canvas.repaint();
    EXPECT_EQ(viewer.viewer().x(), canvas.width() - 5);
}

TEST_F(WindowTest, OpeningAFileListsItsFolderAndPreviewsIt) {
    test::writeTgaPicture(sourceDir.file("a.tga"), 8, 8, 24);
    test::writeTgaPicture(sourceDir.file("b.tga"), 16, 8, 24);
    auto window = openWindow(targetDir.path(), targetDir.path());
    window->openPath(sourceDir.file("b.tga"));
    FilePane& source = *window->view()->sourcePane();
    waitListed(source);
    EXPECT_EQ(source.folder(), sourceDir.path());
    EXPECT_EQ(window->view()->targetPane()->folder(), sourceDir.path());
    EXPECT_EQ(window->view()->viewer()->pathField()->text().toStdString(), sourceDir.file("b.tga"));
    EXPECT_EQ(source.selectedFiles(), std::vector<std::string>{sourceDir.file("b.tga")});
}

TEST_F(WindowTest, TheColourChoiceTakesTheColourUnderTheLeftButton) {
    test::pixmillTestApplication();
    {
        ColourChoiceDialog dialog;
        dialog.show();
        QTest::mouseRelease(dialog.field(), Qt::LeftButton, {}, QPoint(70, 20));
        ASSERT_TRUE(dialog.chosen().has_value());
        EXPECT_EQ(*dialog.chosen(), colourFieldColour(70, 20));
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    {
        ColourChoiceDialog dialog;
        dialog.show();
        QTest::mouseRelease(dialog.field(), Qt::RightButton, {}, QPoint(70, 20));
        EXPECT_FALSE(dialog.chosen().has_value());
        EXPECT_FALSE(dialog.isVisible());
    }
    // The viewer takes the choice as its background.
    ScriptedPrompt prompt;
    ViewerPanel viewer(prompt);
    test::whenModal<ColourChoiceDialog>([](ColourChoiceDialog& dialog) {
        QTest::mouseRelease(dialog.field(), Qt::LeftButton, {}, QPoint(3, 100));
    });
    viewer.chooseBackground();
    EXPECT_EQ(viewer.viewer().background(), colourFieldColour(3, 100));
}

}  // namespace
}  // namespace slipway::pixmill
