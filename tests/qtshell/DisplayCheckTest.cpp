#include <gtest/gtest.h>

#include <map>

#include "qtshell/DisplayCheck.h"

namespace slipway {
namespace {

// Which platform the toolkit would take, and whether it can open a window, from the
// command line and the environment alone.
TEST(DisplayCheck, DecidesFromThePlatformOptionAndTheEnvironment) {
    using Env = std::map<std::string, std::string>;
    const struct {
        std::vector<std::string> args;
        Env env;
        bool reachable;
    } cases[] = {
        {{}, {}, false},
        {{}, {{"DISPLAY", ""}}, false},
        {{}, {{"DISPLAY", ":0"}}, true},
        {{}, {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
        {{}, {{"QT_QPA_PLATFORM", ""}}, false},
        {{}, {{"QT_QPA_PLATFORM", "xcb"}}, false},
        {{}, {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}, false},
        {{}, {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":99"}}, true},
        {{}, {{"QT_QPA_PLATFORM", "xcb:nograb"}}, false},
        {{}, {{"QT_QPA_PLATFORM", "offscreen"}}, true},
        {{}, {{"QT_QPA_PLATFORM", "minimal"}}, true},
        {{}, {{"QT_QPA_PLATFORM", "wayland"}}, true},  // left to the toolkit
        {{}, {{"QT_QPA_PLATFORM", "xcb;offscreen"}}, true},
        {{"-platform", "offscreen"}, {{"QT_QPA_PLATFORM", "xcb"}}, true},
        {{"--platform", "offscreen"}, {}, true},
        {{"-platform", "xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}, false},
        {{"-platform", "xcb", "-display", ":1"}, {}, true},
        {{"file.def", "-display", ":1"}, {}, true},
        {{"-platform"}, {{"QT_QPA_PLATFORM", "offscreen"}}, true},  // no value: not an option
        {{"--dump", "a.def"}, {}, false},
    };
    for (const auto& c : cases) {
        const EnvironmentLookup env = [&](const char* name) -> std::optional<std::string> {
            const auto it = c.env.find(name);
            if (it == c.env.end())
                return std::nullopt;
            return it->second;
        };
        EXPECT_EQ(displayLooksReachable(c.args, env), c.reachable)
            << testing::PrintToString(c.args) << " " << testing::PrintToString(c.env);
    }
    EXPECT_EQ(noDisplayMessage("meshview"),
              "meshview: cannot open a display (set DISPLAY, or run under xvfb-run)");
}

}  // namespace
}  // namespace slipway
