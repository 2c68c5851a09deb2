// The window's batches as the worker runs them: the overwrite dialog's four answers over a
// batch of three, the Esc interruption, a stop asked by the window, the export's pre-scan and
// chain, and files identical to the command line's.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "PixmillFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "base/KeyState.h"
#include "base/Paths.h"
#include "pixels/TfFile.h"
#include "pixmill/CommandLine.h"
#include "pixmill/WindowBatch.h"

namespace slipway::pixmill {
namespace {

using ::testing::ElementsAre;

class ScriptedHooks : public BatchHooks {
  public:
    OverwriteChoice askOverwrite(const std::string& outputPath) override {
        asked.push_back(outputPath);
        if (answers.empty())
            return OverwriteChoice::Closed;
        const OverwriteChoice answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    void fileStarted(std::size_t index, std::size_t count, const std::string& path) override {
        started.push_back(std::to_string(index) + "/" + std::to_string(count) + " " + path);
    }
    std::vector<OverwriteChoice> answers;
    std::vector<std::string> asked;
    std::vector<std::string> started;
};

class WindowBatchTest : public testing::Test {
  protected:
    WindowBatchTest() {
        for (const char* name : {"a", "b", "c"}) {
            sources.push_back(dir.file(std::string(name) + ".tga"));
            test::writeTgaPicture(sources.back(), 16, 16, 24, name[0]);
        }
    }
    std::string outputOf(const std::string& name) const { return out.file(name + ".tf"); }

    test::TempDir dir;
    test::TempDir out;
    std::vector<std::string> sources;
    ScriptedPrompt prompt;
};

TEST_F(WindowBatchTest, OverwriteAnswersOverABatchOfThree) {
    using C = OverwriteChoice;
    struct Case {
        const char* name;
        std::vector<C> answers;
        int asked;
        std::vector<bool> replaced;  // a, b, c
    };
    const Case cases[] = {
        {"Yes each time", {C::Yes, C::Yes, C::Yes}, 3, {true, true, true}},
        {"No each time", {C::No, C::No, C::No}, 3, {false, false, false}},
        {"Yes then No", {C::Yes, C::No, C::Yes}, 3, {true, false, true}},
        {"Yes to All", {C::YesToAll}, 1, {true, true, true}},
        {"No to All", {C::NoToAll}, 1, {false, false, false}},
        {"Yes, then No to All", {C::Yes, C::NoToAll}, 2, {true, false, false}},
        {"No, then Yes to All", {C::No, C::YesToAll}, 2, {false, true, true}},
        // Closing the dialog never replaces a file, even after a Yes.
        {"Yes, closed, Yes", {C::Yes, C::Closed, C::Yes}, 3, {true, false, true}},
    };
    for (const Case& c : cases) {
        for (const char* name : {"a", "b", "c"})
            test::writeText(outputOf(name), "old");
        ScriptedHooks hooks;
        hooks.answers = c.answers;
        CommandContext context(prompt);
        EXPECT_EQ(runConvertBatch(sources, out.path(), {}, context, hooks), BatchEnd::Completed);
        EXPECT_EQ(static_cast<int>(hooks.asked.size()), c.asked) << c.name;
        EXPECT_EQ(hooks.asked.front(), outputOf("a")) << c.name;
        EXPECT_EQ(hooks.started.size(), 3u) << c.name;
        const char* names[] = {"a", "b", "c"};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(test::readText(outputOf(names[i])) != "old", c.replaced[i])
                << c.name << ": " << names[i];
    }
    EXPECT_TRUE(prompt.texts().empty());
}

TEST_F(WindowBatchTest, EscapeOffersToInterruptTheWholeBatch) {
    // Yes: the file in progress is not written and no later file is started.
    {
        FixedKeyState keys;
        keys.pressed.insert(Key::Escape);  // pressed and let go before the first check
        ScriptedPrompt yes;
        yes.plan(PromptAnswer::Yes);
        ScriptedHooks hooks;
        CommandContext context(yes, &keys);
        EXPECT_EQ(runConvertBatch(sources, out.path(), {}, context, hooks), BatchEnd::Interrupted);
        EXPECT_THAT(yes.texts(), ElementsAre("Interrupt convert action?"));
        EXPECT_EQ(yes.shown()[0].buttons, PromptButtons::YesNo);
        EXPECT_EQ(hooks.started.size(), 1u);
        EXPECT_FALSE(fileExists(outputOf("a")));
    }
    // No: the batch goes on and every file is written.
    {
        FixedKeyState keys;
        keys.pressed.insert(Key::Escape);
        ScriptedPrompt no;
        no.plan(PromptAnswer::No);
        ScriptedHooks hooks;
        CommandContext context(no, &keys);
        EXPECT_EQ(runConvertBatch(sources, out.path(), {}, context, hooks), BatchEnd::Completed);
        EXPECT_THAT(no.texts(), ElementsAre("Interrupt convert action?"));
        for (const char* name : {"a", "b", "c"})
            EXPECT_TRUE(fileExists(outputOf(name))) << name;
    }
}

TEST_F(WindowBatchTest, AStopFromTheWindowEndsTheBatchWithoutAsking) {
    std::atomic<bool> stop{true};
    FixedKeyState keys;
    ScriptedHooks hooks;
    CommandContext context(prompt, &keys);
    context.stopRequested = &stop;
    EXPECT_EQ(runConvertBatch(sources, out.path(), {}, context, hooks), BatchEnd::Interrupted);
    EXPECT_TRUE(prompt.texts().empty());
    EXPECT_FALSE(fileExists(outputOf("a")));
}

TEST_F(WindowBatchTest, FilesAreTheSameAsTheCommandLines) {
    ConvertOptions options;
    options.fourBitAlpha = true;
    options.attenuationPosition = 3;
    options.chain8.mode = MipCountMode::NumberMips;
    options.chain8.slider = 2;
    options.verticalCopy = 1;
    test::writeTgaPicture(sources[1], 32, 16, 32 | formatAlpha, 7);
    for (const auto& [windowOptions, arguments] :
         {std::pair<ConvertOptions, std::vector<std::string>>{ConvertOptions{}, {}},
          {options, {"--alpha4", "--attenuation", "3", "--mips8", "count:2", "--vcopy", "1"}}}) {
        test::TempDir byWindow, byCommand;
        ScriptedHooks hooks;
        CommandContext context(prompt);
        ASSERT_EQ(runConvertBatch(sources, byWindow.path(), windowOptions, context, hooks),
                  BatchEnd::Completed);
        std::vector<std::string> args = {"convert", "-o", byCommand.path()};
        args.insert(args.end(), arguments.begin(), arguments.end());
        args.insert(args.end(), sources.begin(), sources.end());
        std::ostringstream cout, cerr;
        ASSERT_EQ(runCommand(args, cout, cerr), kExitSuccess) << cerr.str();
        for (const char* name : {"a", "b", "c"}) {
            const std::string file = std::string(name) + ".tf";
            EXPECT_EQ(test::readBytes(byWindow.file(file)), test::readBytes(byCommand.file(file)))
                << name;
        }
    }
}

TEST(WindowExport, ScanGivesTheLargestCountsAndNamesUnreadableFiles) {
    test::TempDir dir;
    ConvertOptions only8;
    only8.chain16.enabled = false;
    only8.chain8.mode = MipCountMode::NumberMips;
    only8.chain8.slider = 5;
    ConvertOptions both;
    both.chain16.mode = MipCountMode::NumberMips;
    both.chain16.slider = 3;
    test::writeTfTexture(dir.file("eight.tf"), 32, 32, 24, only8);
    test::writeTfTexture(dir.file("both.tf"), 32, 32, 32 | formatAlpha, both);
    test::writeBytes(dir.file("short.tf"), {1, 2});
    ScriptedPrompt prompt;
    const std::vector<std::string> files = {dir.file("eight.tf"), dir.file("short.tf"),
                                            dir.file("both.tf")};
    const ExportScan scan = scanForExport(files, prompt);
    EXPECT_EQ(scan.largestCount16, 3);
    EXPECT_EQ(scan.largestCount8, 5);
    EXPECT_TRUE(scan.anyAlpha);
    EXPECT_THAT(prompt.texts(), ElementsAre("Error get info from file " + dir.file("short.tf")));

    // The 16-bit chain chosen for all: the texture without one fails, the others are written;
    // an existing picture is asked about.
    test::TempDir out;
    test::writeText(out.file("both.tga"), "old");
    prompt.reset();
    prompt.plan(PromptAnswer::Ok);   // the failure message
    prompt.plan(PromptAnswer::Ok);   // the short file
    prompt.plan(PromptAnswer::Yes);  // overwrite both.tga
    ScriptedHooks hooks;
    CommandContext context(prompt);
    EXPECT_EQ(runExportBatch(files, out.path(), ExportOptions(16, 1, 32), context, hooks),
              BatchEnd::Completed);
    EXPECT_THAT(prompt.texts(), ElementsAre("Error open file: " + dir.file("eight.tf"),
                                            "Error open file: " + dir.file("short.tf"),
                                            "Overwrite file " + out.file("both.tga")));
    EXPECT_FALSE(fileExists(out.file("eight.tga")));
    EXPECT_NE(test::readText(out.file("both.tga")), "old");
    EXPECT_EQ(hooks.started.size(), 3u);
}

TEST(OverwriteAnswers, ClosingKeepsTheFile) {
    OverwriteAnswers answers;
    answers.take(OverwriteChoice::Yes);
    answers.take(OverwriteChoice::Closed);
    EXPECT_FALSE(answers.overwrite);
    EXPECT_FALSE(answers.toAll);
}

}  // namespace
}  // namespace slipway::pixmill
