// The data handler over the real sample hand-off: conversion, low-pass text, peaks, rings, hook
// order, empty notices, samples arriving during a call, and no allocation in steady state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/CountingNew.h"
#include "pipeline/SamplePipeline.h"

using app::FormatLowPass;
using app::GalBatch;
using app::SamplePipeline;

namespace {

struct Fixture {
    device::SampleHandOff handOff;
    Settings settings;
    WaveBuffer rings[3];
    app::PeakHold peaks;
    SamplePipeline pipeline;

    explicit Fixture(int capacity = 6000) {
        settings.kanzan = {0.125, 0.125, 0.125};
        for (WaveBuffer& ring : rings) ring.Reset(capacity);
    }
    void Push(int32_t x, int32_t y, int32_t z, double lowPass = 0.0) {
        (void)handOff.Push(SampleRecord{x, y, z}, lowPass);
    }
    int Run(bool measuring = true) {
        return pipeline.OnSampleData(handOff, settings, rings, peaks, measuring);
    }
    double Newest(int axis) const {
        const WaveBuffer& r = rings[axis];
        return r.samples[r.PhysicalIndex(r.heldCount - 1)];
    }
};

}  // namespace

TEST(SamplePipelineConversion, AdCountsTimesKanzanGiveGal) {
    Fixture f;
    // 16-bit 32768 + 800 and 12-bit 2048 - 80 reach the queue as offset-free counts.
    f.Push(800, -80, 0);
    ASSERT_EQ(f.Run(), 1);
    EXPECT_DOUBLE_EQ(f.Newest(0), 100.0);
    EXPECT_DOUBLE_EQ(f.Newest(1), -10.0);
    EXPECT_DOUBLE_EQ(f.Newest(2), 0.0);
}

TEST(SamplePipelineConversion, EachAxisHasItsOwnFactorReadAtEveryCall) {
    Fixture f;
    f.settings.kanzan = {1.0, 2.0, 0.5};
    f.Push(10, 10, 10);
    ASSERT_EQ(f.Run(), 1);
    EXPECT_EQ(f.pipeline.Batch()[0], std::vector<double>{10.0});
    EXPECT_EQ(f.pipeline.Batch()[1], std::vector<double>{20.0});
    EXPECT_EQ(f.pipeline.Batch()[2], std::vector<double>{5.0});
    f.settings.kanzan = {3.0, 3.0, 3.0};
    f.Push(10, 10, 10);
    ASSERT_EQ(f.Run(), 1);
    EXPECT_EQ(f.Newest(0), 30.0);
    EXPECT_EQ(f.rings[0].heldCount, 2);
}

TEST(LowPassText, ExamplesAndTrimming) {
    EXPECT_EQ(FormatLowPass(5.0), "   5.0");
    EXPECT_EQ(FormatLowPass(0.0), "------");
    EXPECT_EQ(FormatLowPass(-0.0), "------");
    EXPECT_EQ(FormatLowPass(12.5), "  12.5");
    EXPECT_EQ(FormatLowPass(0.25), "  0.25");
    EXPECT_EQ(FormatLowPass(1.125), " 1.125");
    EXPECT_EQ(FormatLowPass(-5.0), "  -5.0");
    EXPECT_EQ(FormatLowPass(1234.5), "1234.5");
    EXPECT_EQ(FormatLowPass(123456.0), "123456");  // cut at six
    EXPECT_EQ(FormatLowPass(1e300).size(), 6u);
    EXPECT_EQ(FormatLowPass(0.0001), "   0.0");
}

TEST(SamplePipelinePeaks, AllPositiveAllNegativeAndMixedBatches) {
    std::vector<double> positive{1.0, 5.0, 2.0};
    double lo = 0.0, hi = 0.0;
    app::UpdatePeaks(positive, lo, hi);
    EXPECT_EQ(lo, 0.0);
    EXPECT_EQ(hi, 5.0);

    std::vector<double> negative{-1.0, -7.0, -3.0};
    lo = hi = 0.0;
    app::UpdatePeaks(negative, lo, hi);
    EXPECT_EQ(lo, -7.0);
    EXPECT_EQ(hi, 0.0);

    // Earlier peaks stay unless the batch goes beyond them.
    std::vector<double> mixed{-2.0, 3.0, -9.0, 4.0};
    lo = -8.0;
    hi = 10.0;
    app::UpdatePeaks(mixed, lo, hi);
    EXPECT_EQ(lo, -9.0);
    EXPECT_EQ(hi, 10.0);
}

TEST(SamplePipelinePeaks, TrackedPerAxisThroughTheHandler) {
    Fixture f(100);
    f.Push(8, -8, 80);
    f.Push(16, -24, -8);
    ASSERT_EQ(f.Run(), 2);
    EXPECT_EQ(f.peaks.Max(0), 2.0);
    EXPECT_EQ(f.peaks.Min(0), 0.0);
    EXPECT_EQ(f.peaks.Max(1), 0.0);
    EXPECT_EQ(f.peaks.Min(1), -3.0);
    EXPECT_EQ(f.peaks.Max(2), 10.0);
    EXPECT_EQ(f.peaks.Min(2), -1.0);
}

TEST(SamplePipelineHooks, CalledInOrderWithTheBatchAfterTheRingsHoldIt) {
    Fixture f(100);
    std::vector<std::string> calls;
    f.pipeline.hooks.showLowPass = [&](const std::string& text, bool changed) {
        calls.push_back("lowpass " + text + (changed ? " changed" : " same"));
    };
    f.pipeline.hooks.recordBatch = [&](const GalBatch& batch) {
        calls.push_back("record " + std::to_string(batch[0].size()));
    };
    f.pipeline.hooks.triggerBatch = [&](const GalBatch& batch) {
        // Trigger recording reads its pre-trigger samples from the rings: the batch is already in.
        EXPECT_EQ(f.Newest(2), batch[2].back());
        calls.push_back("trigger");
    };
    f.pipeline.hooks.advanceGraphs = [&](int n) { calls.push_back("graphs " + std::to_string(n)); };

    f.Push(1, 2, 3, 40.0);
    f.Push(4, 5, 6, 5.0);
    ASSERT_EQ(f.Run(), 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"lowpass    5.0 changed", "record 2", "trigger",
                                               "graphs 2"}));
    calls.clear();
    f.Push(7, 8, 9, 5.0);
    ASSERT_EQ(f.Run(), 1);
    EXPECT_EQ(calls.front(), "lowpass    5.0 same");
    EXPECT_EQ(f.pipeline.LowPassText(), "   5.0");
}

TEST(SamplePipelineEmptyNotice, ChangesNothing) {
    Fixture f(10);
    f.Push(8, 8, 8, 20.0);
    ASSERT_EQ(f.Run(), 1);
    // A notice is pending again (as after a receiver restart that emptied the queues).
    f.Push(1, 1, 1);
    device::SampleBatch drained;
    ASSERT_EQ(f.handOff.Take(drained), 1u);
    ASSERT_TRUE(f.handOff.NoticePending());

    const WaveBuffer before = f.rings[0];
    int hookCalls = 0;
    f.pipeline.hooks.showLowPass = [&](const std::string&, bool) { ++hookCalls; };
    f.pipeline.hooks.recordBatch = [&](const GalBatch&) { ++hookCalls; };
    f.pipeline.hooks.triggerBatch = [&](const GalBatch&) { ++hookCalls; };
    f.pipeline.hooks.advanceGraphs = [&](int) { ++hookCalls; };
    f.peaks.Show(0, -3.0, 3.0);

    EXPECT_EQ(f.Run(), 0);
    EXPECT_EQ(hookCalls, 0);
    EXPECT_TRUE(f.handOff.NoticePending());
    EXPECT_EQ(f.rings[0].samples, before.samples);
    EXPECT_EQ(f.rings[0].heldCount, before.heldCount);
    EXPECT_EQ(f.peaks.Min(0), -3.0);
    EXPECT_EQ(f.peaks.Max(0), 3.0);
    EXPECT_EQ(f.pipeline.LowPassText(), "  20.0");
}

// The receive thread may queue a record after the stop took the last batch: it must neither
// start a trigger recording nor reach the rings, the peaks or the display.
TEST(SamplePipelineAfterStop, QueuedSamplesAreDroppedUntouched) {
    Fixture f(10);
    f.Push(8, 8, 8, 20.0);
    ASSERT_EQ(f.Run(), 1);
    int hookCalls = 0;
    f.pipeline.hooks.showLowPass = [&](const std::string&, bool) { ++hookCalls; };
    f.pipeline.hooks.recordBatch = [&](const GalBatch&) { ++hookCalls; };
    f.pipeline.hooks.triggerBatch = [&](const GalBatch&) { ++hookCalls; };
    f.pipeline.hooks.advanceGraphs = [&](int) { ++hookCalls; };
    const WaveBuffer before = f.rings[0];

    f.Push(800, -800, 800, 40.0);
    EXPECT_EQ(f.Run(false), 0);
    EXPECT_EQ(hookCalls, 0);
    EXPECT_EQ(f.rings[0].samples, before.samples);
    EXPECT_EQ(f.rings[0].heldCount, 1);
    EXPECT_EQ(f.peaks.Max(0), 1.0);
    EXPECT_EQ(f.peaks.Min(1), 0.0);
    EXPECT_EQ(f.pipeline.LowPassText(), "  20.0");
    // Nothing stays queued for the next measurement, and the next record asks for a notice again.
    EXPECT_EQ(f.handOff.QueuedCount(), 0u);
    EXPECT_FALSE(f.handOff.NoticePending());
    EXPECT_TRUE(f.handOff.Push(SampleRecord{1, 1, 1}, 0.0));
}

// A sample queued while the handler runs gets a notice of its own at the end of the call, even
// when the line then falls silent and no further sample would ever ask for one.
TEST(SamplePipelineHandOff, SamplesArrivingDuringACallAreNoticedAgain) {
    Fixture f(10);
    bool pushedDuringCall = false;
    int notices = 0;
    // The receive thread queues a sample while the handler is busy with the graphs.
    f.pipeline.hooks.advanceGraphs = [&](int) {
        if (pushedDuringCall) return;
        pushedDuringCall = true;
        EXPECT_FALSE(f.handOff.Push(SampleRecord{99, 99, 99}, 10.0));  // a notice is still pending
    };
    f.pipeline.hooks.notifyAgain = [&] { ++notices; };
    EXPECT_TRUE(f.handOff.Push(SampleRecord{1, 1, 1}, 10.0));
    ASSERT_EQ(f.Run(), 1);
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(f.handOff.NoticePending());  // the new notice is the pending one
    EXPECT_EQ(f.handOff.QueuedCount(), 1u);

    // The receiver posts nothing more for the next sample; the repeated notice takes both.
    EXPECT_FALSE(f.handOff.Push(SampleRecord{2, 2, 2}, 10.0));
    ASSERT_EQ(f.Run(), 2);
    EXPECT_EQ(f.pipeline.Batch()[0], (std::vector<double>{99 * 0.125, 2 * 0.125}));
    EXPECT_EQ(notices, 1);
    EXPECT_FALSE(f.handOff.NoticePending());
    EXPECT_EQ(f.handOff.QueuedCount(), 0u);
}

TEST(SamplePipelineRings, LargeBatchAndZeroCapacityRings) {
    Fixture f(6000);
    for (int k = 0; k < 7000; ++k) f.Push(k, -k, 0);
    ASSERT_EQ(f.Run(), 7000);
    EXPECT_EQ(f.rings[0].heldCount, 6000);
    EXPECT_EQ(f.rings[0].oldestIndex, 0);
    EXPECT_EQ(f.rings[0].samples[0], 1000 * 0.125);
    EXPECT_EQ(f.rings[1].samples[5999], -6999 * 0.125);

    Fixture empty(0);
    empty.Push(8, 8, 8);
    ASSERT_EQ(empty.Run(), 1);
    EXPECT_EQ(empty.rings[0].heldCount, 0);
    EXPECT_TRUE(empty.rings[0].Check());
    EXPECT_EQ(empty.peaks.Max(0), 1.0);  // peaks still follow the stream
}

TEST(SamplePipelineAllocation, SteadyReceptionAllocatesNothing) {
    Fixture f(6000);
    int graphs = 0;
    f.pipeline.hooks.advanceGraphs = [&](int n) { graphs += n; };
    // Warm-up: both vectors that alternate between queue and pipeline reach their size.
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; k < 1000; ++k) f.Push(k, k, k, 40.0);
        ASSERT_EQ(f.Run(), 1000);
    }
    long long during = 0;
    for (int round = 0; round < 5; ++round) {
        for (int k = 0; k < 1000; ++k) f.Push(k, k, k, 40.0);
        const long long before = AllocationCount();
        ASSERT_EQ(f.Run(), 1000);
        during += AllocationCount() - before;
    }
    EXPECT_EQ(during, 0);
    EXPECT_EQ(graphs, 8000);
}

// The window's timer holds the notice while samples keep coming: the receive thread posts nothing
// until a run finds the queue empty and the notice is released; the next sample then asks again.
TEST(SamplePipelineHandOff, AHeldNoticeIsPostedAgainOnlyAfterTheQueueRanDry) {
    Fixture f(10);
    int notices = 0;
    f.pipeline.hooks.notifyAgain = [&] { ++notices; };
    EXPECT_TRUE(f.handOff.Push(SampleRecord{1, 1, 1}, 0.0));
    ASSERT_EQ(f.pipeline.OnSampleData(f.handOff, f.settings, f.rings, f.peaks, true, true), 1);
    EXPECT_FALSE(f.handOff.Push(SampleRecord{2, 2, 2}, 0.0));  // held: no post
    ASSERT_EQ(f.pipeline.OnSampleData(f.handOff, f.settings, f.rings, f.peaks, true, true), 1);
    EXPECT_EQ(f.Newest(0), 2 * 0.125);
    ASSERT_EQ(f.pipeline.OnSampleData(f.handOff, f.settings, f.rings, f.peaks, true, true), 0);
    EXPECT_FALSE(f.handOff.FinishNotice());
    EXPECT_TRUE(f.handOff.Push(SampleRecord{3, 3, 3}, 0.0));
    EXPECT_EQ(notices, 0);
}
