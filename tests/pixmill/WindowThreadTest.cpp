// The window's threads with the event loop: a pane filled by its listing thread through queued
// signals, listings replaced and a pane destroyed while its thread lists, and a batch whose
// questions the window answers on its own thread. Run under ThreadSanitizer in CI.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "PixmillFixtures.h"
#include "PixmillTestApp.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/KeyState.h"
#include "base/Paths.h"
#include "pixmill/BatchController.h"
#include "pixmill/FilePane.h"
#include "pixmill/OverwriteDialog.h"

namespace slipway::pixmill {
namespace {

using ::testing::ElementsAre;

class WindowThreadTest : public testing::Test {
  protected:
    WindowThreadTest() {
        test::pixmillTestApplication();
        test::clearPixmillSettings();
    }
    test::TempDir dir;
    ScriptedPrompt prompt;
};

TEST_F(WindowThreadTest, APaneIsFilledByItsListingThread) {
    for (int i = 0; i < 200; ++i)
        test::writeTgaPicture(dir.file("p" + std::to_string(1000 + i) + ".tga"), 2, 2, 24);
    test::TempDir other;
    test::writeTgaPicture(other.file("one.tga"), 4, 4, 24);

    auto pane = std::make_unique<FilePane>(std::vector<std::string>{"tga", "bmp"}, prompt);
    pane->openFolder(dir.path());
    pane->openFolder(other.path());  // replaces the listing just started
    ASSERT_TRUE(test::waitUntil([&] { return !pane->listing(); }));
    EXPECT_EQ(pane->folder(), other.path());
    EXPECT_EQ(pane->paneModel().entries()[1], (PaneEntry{"one", fileIcon(0), "4x4", "24"}));

    pane->openFolder(dir.path());
    ASSERT_TRUE(test::waitUntil([&] { return !pane->listing(); }));
    ASSERT_GE(pane->paneModel().entries().size(), 201u);
    EXPECT_EQ(pane->paneModel().entries()[200].text, "p1199");
    EXPECT_EQ(pane->paneModel().entries()[200].size, "2x2");
    EXPECT_EQ(pane->model()->rowCount(), static_cast<int>(pane->paneModel().entries().size()));
    EXPECT_EQ(pane->selectionMark(), 0);

    // Destroyed while it lists: the thread is stopped and nothing arrives afterwards.
    pane->relist();
    pane.reset();
    QTest::qWait(20);
}

TEST_F(WindowThreadTest, ABatchAsksItsQuestionsOnTheWindowsThread) {
    std::vector<std::string> sources;
    for (const char* name : {"a", "b"}) {
        sources.push_back(dir.file(std::string(name) + ".tga"));
        test::writeTgaPicture(sources.back(), 32, 32, 24, name[0]);
    }
    test::TempDir out;
    test::writeText(out.file("a.tf"), "old");
    QWidget window;
    FixedKeyState keys;
    keys.pressed.insert(Key::Escape);  // made before the batch: does not count
    BatchController batch(&window, prompt, keys);
    QSignalSpy titles(&batch, &BatchController::titleChanged);
    QSignalSpy progress(&batch, &BatchController::fileProgress);
    QSignalSpy finished(&batch, &BatchController::finished);
    test::whenModal<OverwriteDialog>([](OverwriteDialog& dialog) {
        for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
            if (button->text() == "Yes")
                button->click();
        }
    });
    ASSERT_TRUE(batch.start([&](CommandContext& context, BatchHooks& hooks) {
        return runConvertBatch(sources, out.path(), {}, context, hooks);
    }));
    EXPECT_TRUE(batch.running());
    ASSERT_TRUE(test::waitUntil([&] { return finished.count() == 1; }));
    EXPECT_FALSE(batch.running());
    EXPECT_EQ(finished[0][0].value<BatchEnd>(), BatchEnd::Completed);
    EXPECT_TRUE(prompt.texts().empty());
    ASSERT_EQ(progress.count(), 2);
    EXPECT_EQ(progress[1][0].toInt(), 1);
    EXPECT_EQ(progress[1][1].toInt(), 2);
    ASSERT_EQ(titles.count(), 12);
    EXPECT_EQ(titles[0][0].toString().toStdString(),
              sources[0] + "  :  Creating 32 bit mip levels");
    EXPECT_EQ(titles[11][0].toString(), "Pixmill");
    EXPECT_NE(test::readText(out.file("a.tf")), "old");
    EXPECT_TRUE(fileExists(out.file("b.tf")));
}

}  // namespace
}  // namespace slipway::pixmill
