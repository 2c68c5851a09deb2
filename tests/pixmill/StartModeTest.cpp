// The start-up choice: console commands stay as they are, a path opens the window on it, and
// only a switch (never a path) removes the settings.

#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestFiles.h"
#include "pixmill/StartMode.h"

namespace slipway::pixmill {
namespace {

TEST(StartMode, ChoosesWindowCommandOrReset) {
    test::TempDir dir;
    test::writeBytes(dir.file("rope.tga"), {1});
    const std::string file = dir.file("rope.tga");
    struct Case {
        std::vector<std::string> args;
        StartMode::Kind kind;
    };
    const Case cases[] = {
        {{}, StartMode::Window},
        {{file}, StartMode::WindowOnPath},
        {{dir.path()}, StartMode::WindowOnPath},
        {{"convert", "a.tga"}, StartMode::Command},
        {{"info", "/u"}, StartMode::Command},
        {{"thumbnail", "a.tf", "a.png", "64"}, StartMode::Command},
        {{"--help"}, StartMode::Command},
        {{"--version"}, StartMode::Command},
        {{"/u"}, StartMode::ResetSettings},
        {{"/R"}, StartMode::ResetSettings},
        {{"-reset"}, StartMode::ResetSettings},
        {{"--Uninstall"}, StartMode::ResetSettings},
        {{"x", "/u"}, StartMode::ResetSettings},
        // Paths and words are never switches: typing a name wrong must not lose the settings.
        {{"/usr/none.tga"}, StartMode::Command},
        {{"rope2.tga"}, StartMode::Command},
        {{"conevrt"}, StartMode::Command},
        {{"-x"}, StartMode::Command},
        {{file, file}, StartMode::Command},
    };
    for (const Case& c : cases) {
        const StartMode mode = chooseStartMode(c.args);
        EXPECT_EQ(mode.kind, c.kind) << ::testing::PrintToString(c.args);
        if (c.kind == StartMode::WindowOnPath) {
            EXPECT_EQ(mode.path, c.args[0]);
        }
    }
}

}  // namespace
}  // namespace slipway::pixmill
