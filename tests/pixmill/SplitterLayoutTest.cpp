// The main view's columns and splitters: layout for a width, which splitter a press grabs, the
// drag limits, and the stored values.

#include <gtest/gtest.h>

#include "pixmill/SplitterLayout.h"

namespace slipway::pixmill {
namespace {

TEST(SplitterLayout, ColumnsLeaveThreePixelGapsAtTheSplitters) {
    const SplitterLayout layout;  // 27 % and 73 %
    const ColumnLayout c = layout.columns(1000);
    EXPECT_EQ(c.source.x, 0);
    EXPECT_EQ(c.source.width, 270);
    // trunc(1000 * (1 - 0.73f)): the float fraction is a hair above 0.73.
    EXPECT_EQ(c.target.width, 269);
    EXPECT_EQ(c.target.x, 731);
    EXPECT_EQ(c.viewer.x, 273);
    EXPECT_EQ(c.viewer.width, 731 - 3 - 273);
}

TEST(SplitterLayout, APressGrabsASplitterOnlyWithinFourPixels) {
    const SplitterLayout layout;
    const int width = 1000;  // splitters at 270 and 730
    struct Case {
        int x;
        Splitter grabbed;
    };
    const Case cases[] = {{270, Splitter::Left},  {266, Splitter::None}, {267, Splitter::Left},
                          {273, Splitter::Left},  {274, Splitter::None}, {275, Splitter::None},
                          {733, Splitter::Right}, {735, Splitter::None}, {500, Splitter::None}};
    for (const Case& c : cases)
        EXPECT_EQ(layout.grab(c.x, width), c.grabbed) << c.x;
}

TEST(SplitterLayout, DraggingStopsAtTheLimits) {
    const int width = 1000;
    struct Case {
        Splitter splitter;
        int x;
        double left, right;
    };
    const Case cases[] = {
        {Splitter::Left, 1000, 0.73 - 0.4, 0.73},  // far right: 0.4 below the right splitter
        {Splitter::Left, 0, 0.1, 0.73},            // far left: 10 %
        {Splitter::Left, 300, 0.3, 0.73},
        {Splitter::Right, 1000, 0.27, 0.9},      // far right: 90 %
        {Splitter::Right, 0, 0.27, 0.27 + 0.4},  // far left: 0.4 above the left splitter
        {Splitter::Right, 800, 0.27, 0.8},
    };
    for (const Case& c : cases) {
        SplitterLayout layout;
        layout.drag(c.splitter, c.x, width);
        EXPECT_NEAR(layout.left(), c.left, 1e-6) << c.x;
        EXPECT_NEAR(layout.right(), c.right, 1e-6) << c.x;
    }
}

TEST(SplitterLayout, StoredValuesRoundTripAndNonsenseGivesTheDefaults) {
    // Every value read is written back unchanged, although 0.65f * 100000 is 64999.998.
    for (int left = 10000; left < 50000; left += 7) {
        const SplitterLayout stored(left, left + 15001);
        EXPECT_EQ(stored.storedLeft(), left);
        EXPECT_EQ(stored.storedRight(), left + 15001);
    }
    // A dragged splitter is stored truncated, and stays so over the next start.
    SplitterLayout dragged;
    dragged.drag(Splitter::Left, 333, 1000);
    const int left = dragged.storedLeft();
    EXPECT_EQ(left, static_cast<int>(static_cast<double>(dragged.left()) * 100000));
    EXPECT_EQ(SplitterLayout(left, dragged.storedRight()).storedLeft(), left);
    for (const auto& [left, right] :
         {std::pair{80000, 30000}, {0, 50000}, {20000, 100000}, {-5, 70000}, {50000, 50000}}) {
        const SplitterLayout layout(left, right);
        EXPECT_EQ(layout.storedLeft(), kDefaultLeftPos) << left << " " << right;
        EXPECT_EQ(layout.storedRight(), kDefaultRightPos) << left << " " << right;
    }
}

}  // namespace
}  // namespace slipway::pixmill
