// Dialog units become pixels at 1.5 across and 1.625 down, rounded half away from zero.

#include <gtest/gtest.h>

#include "qtshell/DialogUnits.h"

namespace slipway {
namespace {

TEST(DialogUnitsTest, UnitsRoundToTheNearestPixel) {
    struct Case {
        double units;
        int x, y;
    };
    const Case cases[] = {
        {0, 0, 0}, {1, 2, 2}, {2, 3, 3}, {3, 5, 5}, {7, 11, 11}, {199, 299, 323}, {448, 672, 728},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dialogX(c.units), c.x) << c.units;
        EXPECT_EQ(dialogY(c.units), c.y) << c.units;
    }
}

TEST(DialogUnitsTest, RectsAndSizesScaleEachSideOnItsAxis) {
    // The viewers' frame and Riglist's main dialog.
    EXPECT_EQ(dialogRect(7, 2, 331, 311), QRect(11, 3, 497, 505));
    EXPECT_EQ(dialogSize(448, 199), QSize(672, 323));
}

}  // namespace
}  // namespace slipway
