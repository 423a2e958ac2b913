// Lamp colours by state and the numeric field's draw-on-change rule.
#include "graphs/StatusLook.h"

#include <gtest/gtest.h>

namespace {

TEST(LampColour, EachKnownStateHasItsColour) {
    EXPECT_EQ(status::LampColour(0), status::Rgb(255, 0, 0));
    EXPECT_EQ(status::LampColour(1), status::Rgb(255, 255, 0));
    EXPECT_EQ(status::LampColour(2), status::Rgb(0, 255, 0));
    EXPECT_EQ(status::LampColour(3), status::Rgb(255, 0, 255));
    EXPECT_EQ(status::LampColour(4), status::Rgb(0, 0, 200));
}

TEST(LampColour, StatesOutsideOneToFourAreRed) {
    for (int state : {-2147483647 - 1, -1, 5, 6, 100, 2147483647}) {
        EXPECT_EQ(status::LampBrushIndex(state), 0) << state;
        EXPECT_EQ(status::LampColour(state), status::LampColour(0)) << state;
    }
    EXPECT_EQ(status::LampBrushColour(-1), status::LampBrushColour(0));
    EXPECT_EQ(status::LampBrushColour(status::kLampBrushCount), status::LampBrushColour(0));
}

TEST(LampColour, RgbHasThePlatformLayout) {
    EXPECT_EQ(status::Rgb(0x12, 0x34, 0x56), 0x00563412u);
    EXPECT_EQ(status::Rgb(0, 0, 200), 0x00C80000u);
}

TEST(NumText, OnlyAChangeAsksForADraw) {
    status::NumText text;
    EXPECT_EQ(text.Text(), "");
    EXPECT_FALSE(text.Assign(""));  // empty after construction: nothing to draw
    EXPECT_TRUE(text.Assign("12.5"));
    EXPECT_FALSE(text.Assign("12.5"));
    EXPECT_EQ(text.Text(), "12.5");
    EXPECT_TRUE(text.Assign("12.50"));
    EXPECT_TRUE(text.Assign(""));
    EXPECT_EQ(text.Text(), "");
}

TEST(NumText, AnchorIsTwoPixelsInFromTheTopRight) {
    const status::TextAnchor a = status::NumTextAnchor(0, 0, 80, 20);
    EXPECT_EQ(a.x, 78);
    EXPECT_EQ(a.y, 2);
    const status::TextAnchor b = status::NumTextAnchor(10, 30, 50, 44);
    EXPECT_EQ(b.x, 48);
    EXPECT_EQ(b.y, 32);
}

}  // namespace
