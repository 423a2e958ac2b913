// Anchored controls as a window is resized, and a window widened and centred within the work area.
#include <gtest/gtest.h>

#include "ui/WindowLayout.h"

namespace {

using ui::Rect;

TEST(WindowLayout, AnchoredControlsFollowTheEdgesTheyAreTiedTo) {
    const Rect r{10, 20, 110, 70};
    EXPECT_EQ(ui::Anchored(ui::Grows(1, r), 30, 40), (Rect{10, 20, 140, 110}));
    EXPECT_EQ(ui::Anchored(ui::MovesWithCorner(1, r), 30, 40), (Rect{40, 60, 140, 110}));
    EXPECT_EQ(ui::Anchored(ui::MovesDown(1, r), 30, 40), (Rect{10, 60, 110, 110}));
    // Shrunk past its top, a control whose bottom alone follows keeps no height.
    EXPECT_EQ(ui::Anchored({1, r, false, false, false, true}, 0, -80), (Rect{10, 20, 110, 20}));
}

TEST(WindowLayout, AWidenedWindowIsCentredOnItsOwnerAndKeptOnTheWorkArea) {
    const Rect work{0, 0, 1000, 800};
    const Rect window{100, 100, 500, 400};
    EXPECT_EQ(ui::WidenAndCentre(window, 200, work, work), (Rect{200, 250, 800, 550}));
    EXPECT_EQ(ui::WidenAndCentre(window, -50, work, work), (Rect{300, 250, 700, 550})) << "never narrower";
    EXPECT_EQ(ui::WidenAndCentre(window, 2000, work, work), (Rect{0, 250, 1000, 550})) << "no wider than the screen";
    EXPECT_EQ(ui::WidenAndCentre(window, 0, work, Rect{900, 700, 1100, 900}), (Rect{600, 500, 1000, 800}))
        << "an owner near the corner: moved back onto the work area";
}

}  // namespace
