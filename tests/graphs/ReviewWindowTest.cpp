// The review window: which samples a scroll position shows, their extremes, and its date and time.
#include <gtest/gtest.h>

#include "graphs/ReviewWindow.h"

namespace {

using graphs::ReviewClockAt;

TEST(ReviewWindow, SpanAndExtremesFollowTheOldestHeldSample) {
    // A wrapped ring of 10: the oldest held sample (value 0) at index 7, the newest (9) at 6.
    WaveBuffer ring;
    ring.samples = {3, 4, 5, 6, 7, 8, 9, 0, 1, 2};
    ring.heldCount = 10;
    ring.oldestIndex = 7;
    graphs::ReviewSpan span = graphs::ReviewSpanAt(ring, 2, 4);
    EXPECT_EQ(span.start, 9);
    EXPECT_EQ(span.count, 4);
    graphs::Extremes e = graphs::SpanExtremes(ring, span);  // samples 2, 3, 4, 5 across the wrap
    EXPECT_EQ(e.lo, 2);
    EXPECT_EQ(e.hi, 5);

    // Fewer held than a display window: all of them.
    ring.heldCount = 3;
    span = graphs::ReviewSpanAt(ring, 0, 4);
    EXPECT_EQ(span.count, 3);
    e = graphs::SpanExtremes(ring, span);
    EXPECT_EQ(e.lo, 0);
    EXPECT_EQ(e.hi, 2);

    // Nothing held, or no storage at all: an empty span with extremes 0.
    ring.heldCount = 0;
    EXPECT_EQ(graphs::ReviewSpanAt(ring, 0, 4).count, 0);
    WaveBuffer none;
    span = graphs::ReviewSpanAt(none, 5, 4);
    EXPECT_EQ(span.count, 0);
    EXPECT_EQ(graphs::SpanExtremes(none, graphs::ReviewSpan{0, 4}).hi, 0);
}

TEST(ReviewWindow, ClockLabelsOfLaterPositions) {
    constexpr uint64_t k20240506_123456 = 133594724960000000;
    auto at = [](uint64_t base, int pos) {
        const graphs::ReviewClock c = ReviewClockAt(base, pos);
        return c.date + " " + c.time;
    };
    EXPECT_EQ(at(k20240506_123456, 0), "2024年05月06日 12時34分56秒");
    EXPECT_EQ(at(k20240506_123456, 99), "2024年05月06日 12時34分56秒");  // 0.99 s later
    EXPECT_EQ(at(k20240506_123456, 150), "2024年05月06日 12時34分57秒");
    // 24 hours of samples later: the next day, same time.
    EXPECT_EQ(at(k20240506_123456, 8640000), "2024年05月07日 12時34分56秒");
    // Midnight into a leap day, a new year, and 2100, which is no leap year.
    EXPECT_EQ(at(133536383990000000, 100), "2024年02月29日 00時00分00秒");
    EXPECT_EQ(at(133485407990000000, 100), "2024年01月01日 00時00分00秒");
    EXPECT_EQ(at(157520159990000000, 100), "2100年03月01日 00時00分00秒");
    // No time known: no date, and the time since the oldest sample.
    EXPECT_EQ(at(0, 0), "----年--月--日 00時00分00秒");
    EXPECT_EQ(at(0, 366100), "----年--月--日 01時01分01秒");
}

}  // namespace
