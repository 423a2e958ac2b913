// Segments and start times of the live archive from arrival times and breaks.
#include <gtest/gtest.h>

#include "seed/SampleClock.h"

namespace {

using seed::SampleClock;
using seed::Ticks;

constexpr Ticks kT = seed::kTicksPerSample;
const Ticks kBase = seed::TicksOf({2024, 5, 6, 127, 12, 0, 0, 0});

// Feeds samples i = 0..n-1 arriving at base + i * 10 ms + delay(i); returns how many began a
// segment.
template <class Delay>
int Feed(SampleClock& clock, Ticks base, int n, Delay delay, bool breakFirst = false) {
    int segments = 0;
    for (int i = 0; i < n; ++i) {
        if (clock.Place(base + i * kT + delay(i), breakFirst && i == 0).newSegment) ++segments;
    }
    return segments;
}

TEST(SampleClock, StartIsTheEarliestTimeEveryArrivalAllows) {
    SampleClock clock;
    // Delivery delays of 3 to 40 ms in bursts (a USB adapter's latency): the least one counts.
    EXPECT_EQ(Feed(clock, kBase, 1000, [](int i) { return Ticks{30} + ((i + 5) % 16) * 25; }), 1);
    EXPECT_EQ(clock.Start(), kBase + 30);
    EXPECT_EQ(clock.TimeOf(999), kBase + 30 + 999 * kT);
}

TEST(SampleClock, BreaksBecomeGapsOfTheirLengthOrJoinWhenNothingWasLost) {
    SampleClock clock;
    Feed(clock, kBase, 500, [](int) { return Ticks{20}; });
    const Ticks end = clock.TimeOf(500);
    // Two records lost: the next sample arrives 20 ms after its place, after a break.
    ASSERT_TRUE(clock.Place(end + 2 * kT, true).newSegment);
    EXPECT_EQ(clock.Start(), end + 2 * kT);
    // A break with nothing lost (a record read twice short, then on time): joined exactly.
    SampleClock joined;
    Feed(joined, kBase, 500, [](int) { return Ticks{20}; });
    ASSERT_TRUE(joined.Place(kBase + 500 * kT + 60, true).newSegment);
    EXPECT_EQ(joined.Start(), kBase + 20 + 500 * kT);
}

TEST(SampleClock, ABacklogAfterAGapIsDatedFromItsLastSample) {
    SampleClock clock;
    Feed(clock, kBase, 300, [](int) { return Ticks{0}; });
    // 3 s of silence, then 200 samples queued meanwhile arrive at once, then live ones.
    const Ticks resumed = kBase + 300 * kT + 30000;  // the first queued sample was taken here
    const Ticks read = resumed + 200 * kT;
    for (int i = 0; i < 200; ++i) clock.Place(read, i == 0);
    for (int i = 200; i < 300; ++i) clock.Place(resumed + i * kT + 5, false);
    EXPECT_EQ(clock.Start(), resumed + 5) << "dated by the live samples after the backlog";
}

TEST(SampleClock, ClockStepsAndUnnoticedLossesStartSegments) {
    // The PC clock set back by 5 s after the start was fixed: an overlap, at once.
    SampleClock back;
    Feed(back, kBase, 1000, [](int) { return Ticks{0}; });
    EXPECT_TRUE(back.Place(kBase + 1000 * kT - 50000, false).newSegment);
    EXPECT_EQ(back.Start(), kBase + 1000 * kT - 50000);
    // Every sample of a second 1 s late without a break: a gap within that second.
    SampleClock late;
    Feed(late, kBase, 1000, [](int) { return Ticks{0}; });
    EXPECT_EQ(Feed(late, kBase + 1000 * kT, 200, [](int) { return Ticks{10000}; }), 1);
    // A recorder 100 ppm fast stays in one segment until it is 0.2 s ahead (2000 s).
    SampleClock drift;
    int segments = 0;
    for (int i = 0; i < 250000; ++i) {
        if (drift.Place(kBase + i * kT - i / 100, false).newSegment) ++segments;
    }
    EXPECT_EQ(segments, 2);
}

TEST(SampleClock, TheStartSettlesAfterFourSecondsOfSamples) {
    SampleClock clock;
    // The first 399 samples 0.3 s late, the 400th on time: still refined by it.
    Feed(clock, kBase, 399, [](int) { return Ticks{3000}; });
    EXPECT_FALSE(clock.Settled());
    clock.Place(kBase + 399 * kT, false);
    EXPECT_TRUE(clock.Settled());
    EXPECT_EQ(clock.Start(), kBase);
    // After that an earlier arrival within the tolerance moves nothing.
    EXPECT_FALSE(clock.Place(kBase + 400 * kT - 1500, false).newSegment);
    EXPECT_EQ(clock.Start(), kBase);
}

}  // namespace
