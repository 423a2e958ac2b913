// The data handler's pace: runs at least the interval apart, the timer set only when the pace
// changes, the notice held while it runs, and the timer stopped by a tick that finds nothing queued.
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

// The queue and its notice as the hand-off keeps them: a run takes what waits and holds the
// notice; the release lets it go only when nothing waits.
struct FakeQueue {
    int queued = 0;
    int runs = 0;
    bool raceOnRelease = false;  // a sample arrives between an empty run and the release
    int Run() {
        ++runs;
        const int n = queued;
        queued = 0;
        return n;
    }
    bool Release() {
        if (raceOnRelease) {
            raceOnRelease = false;
            queued = 1;
        }
        return queued > 0;
    }
};

TEST(SampleThrottle, TicksTakeTheSamplesWhileTheyComeAndStopWhenTheQueueRunsDry) {
    FakeTimer timer;
    FakeQueue q;
    app::SampleThrottle throttle(timer, [&] { return q.Run(); }, [&] { return q.Release(); });
    q.queued = 1;
    throttle.OnNotice();
    EXPECT_EQ(q.runs, 1) << "the first notice runs at once and starts the timer";
    q.queued = 5;  // no notice: the run held it
    timer.now += 50;
    throttle.OnTick();
    EXPECT_EQ(q.runs, 2);
    timer.now += 50;
    throttle.OnTick();  // nothing queued: the notice is released, the timer stops
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"start 50", "stop"}));

    timer.now += 10;
    q.queued = 1;
    throttle.OnNotice();
    EXPECT_EQ(q.runs, 3) << "a notice within the interval waits for the timer";
    timer.now += 40;
    throttle.OnTick();
    EXPECT_EQ(q.runs, 4);
    q.raceOnRelease = true;
    timer.now += 50;
    throttle.OnTick();  // empty, but a sample raced in before the release: the timer goes on
    timer.now += 50;
    throttle.OnTick();
    EXPECT_EQ(q.queued, 0) << "the raced sample was taken by the next tick";
    EXPECT_EQ(timer.calls, (std::vector<std::string>{"start 50", "stop", "start 40", "start 50"}));
}

}  // namespace
