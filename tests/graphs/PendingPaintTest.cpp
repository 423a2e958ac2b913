// What a graph's window draws at UpdateNow: a batch's bands and whole repaints straight away, any
// other whole repaint through WM_PAINT, which then also covers the bands.
#include <gtest/gtest.h>

#include "graphs/PendingPaint.h"

using graphs::PendingPaint;
using Action = PendingPaint::Action;

namespace {

const ui::Rect kClient{0, 0, 400, 200};

TEST(PendingPaint, ABatchsBandsAndWholeRepaintsAreDrawnAtOnce) {
    PendingPaint p;
    EXPECT_EQ(p.Take(), Action::Nothing) << "an UpdateNow with nothing of ours asks nothing";
    const ui::Rect a{10, 1, 30, 199}, b{25, 1, 40, 199};
    EXPECT_FALSE(p.Invalidate(&a, true, kClient));
    EXPECT_FALSE(p.Invalidate(&b, true, kClient));
    EXPECT_EQ(p.Take(), Action::DrawBand);
    EXPECT_EQ(p.Band(), (ui::Rect{10, 1, 40, 199}));
    EXPECT_EQ(p.Take(), Action::Nothing) << "drawn once";
    // A new spectrum during a batch: the whole client, still without WM_PAINT.
    EXPECT_FALSE(p.Invalidate(nullptr, true, kClient));
    EXPECT_EQ(p.Take(), Action::DrawBand);
    EXPECT_EQ(p.Band(), kClient);
}

TEST(PendingPaint, AnyOtherWholeRepaintGoesThroughWmPaintUntilItIsDone) {
    PendingPaint p;
    EXPECT_TRUE(p.Invalidate(nullptr, false, kClient)) << "colours, scales, a resize";
    const ui::Rect band{10, 1, 30, 199};
    EXPECT_FALSE(p.Invalidate(&band, true, kClient));
    EXPECT_TRUE(p.Invalidate(nullptr, true, kClient)) << "a batch's whole repaint joins the waiting one";
    EXPECT_EQ(p.Take(), Action::UpdateWindow);
    EXPECT_EQ(p.Take(), Action::UpdateWindow) << "until WM_PAINT has drawn it";
    p.Painted();
    EXPECT_EQ(p.Take(), Action::Nothing) << "the band went with the whole paint";
}

}  // namespace
