// The data handler's pace: runs at least the interval apart, the timer set only when the pace
// changes, and stopped by a tick that finds no notice.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pipeline/SampleThrottle.h"

namespace {

struct FakeTimer : app::ThrottleTimer {
    uint32_t now = 1000;
    std::vector<std::string> calls;
    void Start(uint32_t ms) override { calls.push_back("start " + std::to_string(ms)); }
    void Stop() override { calls.push_back("stop"); }
    uint32_t Now() const override { return now; }
};

TEST(SampleThrottle, NoticesCloserThanTheIntervalWaitForTheTimer) {
    FakeTimer timer;
    int runs = 0;
    app::SampleThrottle throttle(timer, [&] { ++runs; });
    throttle.OnNotice();
    EXPECT_EQ(runs, 1) << "the first notice runs at once";
    timer.now += 10;
    throttle.OnNotice();
    throttle.OnNotice();  // still waiting: no second timer
    EXPECT_EQ(runs, 1);
    timer.now += 40;
    throttle.OnTick();
    EXPECT_EQ(runs, 2);
    throttle.OnNotice();  // the timer runs: the tick takes it
    timer.now += 50;
    throttle.OnTick();
    EXPECT_EQ(runs, 3);
    throttle.OnTick();  // no notice: the samples stopped
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"start 40", "start 50", "stop"}));
    timer.now += 5;
    throttle.OnNotice();
    EXPECT_EQ(timer.calls.back(), "start 45") << "a stopped timer restarts for the rest of the interval";
}

}  // namespace
