#include <gtest/gtest.h>

#include "base/DebugTrace.h"
#include "base/Format.h"
#include "base/UserPrompt.h"

namespace slipway {
namespace {

TEST(ScriptedPrompt, RecordsTextsAndFollowsItsPlan) {
    ScriptedPrompt prompt;
    prompt.plan(PromptAnswer::Cancel);
    EXPECT_EQ(prompt.show("first", PromptButtons::OkCancel), PromptAnswer::Cancel);
    EXPECT_EQ(prompt.show("second", PromptButtons::OkCancel), PromptAnswer::Ok);
    EXPECT_EQ(prompt.show("third", PromptButtons::YesNo), PromptAnswer::Yes);
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_EQ(prompt.shown()[2].buttons, PromptButtons::YesNo);
}

TEST(HeadlessPrompt, PrintsTheMessageAndAnswersAsConfigured) {
    testing::internal::CaptureStderr();
    HeadlessPrompt yes;
    EXPECT_EQ(yes.show("Can't Find Model: a.clf", PromptButtons::Ok), PromptAnswer::Ok);
    HeadlessPrompt no(true);
    EXPECT_EQ(no.show("Corrupted object : x", PromptButtons::OkCancel), PromptAnswer::Cancel);
    EXPECT_EQ(no.show("q", PromptButtons::YesNo), PromptAnswer::No);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "message: Can't Find Model: a.clf\nmessage: Corrupted object : x\nmessage: q\n");
}

TEST(Format, FormatsLikePrintf) {
    EXPECT_EQ(formatText("%d TEXTURE: %s", 3, "hull"), "3 TEXTURE: hull");
    EXPECT_EQ(formatText("%s", std::string(1000, 'x').c_str()).size(), 1000u);
}

}  // namespace
}  // namespace slipway
