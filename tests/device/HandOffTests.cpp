// Sample hand-off between the receive thread and the user-interface thread.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "device/SampleHandOff.h"

using device::SampleBatch;
using device::SampleHandOff;

TEST(SampleHandOff, OnlyTheFirstSampleAfterAFinishedNoticeAsksForANotice) {
    SampleHandOff h;
    EXPECT_TRUE(h.Push({1, 2, 3}, 5.0));
    EXPECT_FALSE(h.Push({4, 5, 6}, 10.0));
    SampleBatch b;
    ASSERT_EQ(h.Take(b), 2u);
    EXPECT_EQ(b.x, (std::vector<int32_t>{1, 4}));
    EXPECT_EQ(b.y, (std::vector<int32_t>{2, 5}));
    EXPECT_EQ(b.z, (std::vector<int32_t>{3, 6}));
    EXPECT_EQ(h.LowPassHz(), 10.0);
    // Arrives while the consumer works: no notice from the producer, the consumer's finish asks
    // for the next one itself.
    EXPECT_FALSE(h.Push({7, 8, 9}, 10.0));
    EXPECT_TRUE(h.FinishNotice());
    EXPECT_TRUE(h.NoticePending());
    EXPECT_FALSE(h.Push({10, 11, 12}, 10.0));
    ASSERT_EQ(h.Take(b), 2u);
    EXPECT_EQ(b.x, (std::vector<int32_t>{7, 10}));
    EXPECT_FALSE(h.FinishNotice());
    EXPECT_TRUE(h.Push({13, 14, 15}, 10.0));
}

TEST(SampleHandOff, EmptyTakeLeavesThePendingNoticeAlone) {
    SampleHandOff h;
    EXPECT_TRUE(h.Push({1, 1, 1}, 5.0));
    SampleBatch b;
    EXPECT_EQ(h.Take(b), 1u);
    EXPECT_EQ(h.Take(b), 0u);
    EXPECT_TRUE(b.x.empty());
    EXPECT_TRUE(h.NoticePending());
}

TEST(SampleHandOff, ResetClearsQueueNoticeAndLowPass) {
    SampleHandOff h;
    EXPECT_TRUE(h.Push({1, 1, 1}, 40.0));
    h.Reset();
    EXPECT_EQ(h.QueuedCount(), 0u);
    EXPECT_FALSE(h.NoticePending());
    EXPECT_EQ(h.LowPassHz(), 0.0);
    EXPECT_TRUE(h.Push({1, 1, 1}, 40.0));
}

// A producer thread and a consumer thread that handles notices like a message loop: every sample
// arrives through a notice, once and in order, and no more than one notice is ever in flight.
TEST(SampleHandOff, ConcurrentProducerAndConsumerKeepOrderAndOneNotice) {
    SampleHandOff h;
    std::mutex m;
    std::condition_variable cv;
    int inFlight = 0, maxInFlight = 0;
    bool producerDone = false;
    constexpr int kCount = 20000;
    std::thread producer([&] {
        for (int i = 0; i < kCount; ++i) {
            if (h.Push({i, -i, i * 2}, 5.0)) {
                std::lock_guard<std::mutex> lock(m);
                ++inFlight;
                maxInFlight = std::max(maxInFlight, inFlight);
                cv.notify_one();
            }
        }
        std::lock_guard<std::mutex> lock(m);
        producerDone = true;
        cv.notify_one();
    });
    std::vector<int32_t> got;
    for (;;) {
        std::unique_lock<std::mutex> lock(m);
        cv.wait(lock, [&] { return inFlight > 0 || producerDone; });
        if (inFlight == 0 && producerDone) break;
        --inFlight;
        lock.unlock();
        SampleBatch b;
        h.Take(b);
        for (size_t i = 0; i < b.size(); ++i) {
            ASSERT_EQ(b.y[i], -b.x[i]);
            ASSERT_EQ(b.z[i], 2 * b.x[i]);
            got.push_back(b.x[i]);
        }
        if (h.FinishNotice()) {  // the consumer posts the repeated notice itself
            lock.lock();
            ++inFlight;
            maxInFlight = std::max(maxInFlight, inFlight);
        }
    }
    producer.join();
    ASSERT_EQ(got.size(), static_cast<size_t>(kCount));
    for (int i = 0; i < kCount; ++i) ASSERT_EQ(got[i], i);
    EXPECT_EQ(maxInFlight, 1);
}

TEST(SampleHandOff, SamplesCarryTheirArrivalAndTheBreakBeforeThem) {
    SampleHandOff h;
    (void)h.Push({1, 1, 1}, 5.0);  // the first ever follows the opening
    (void)h.Push({2, 2, 2}, 5.0);
    h.MarkBreak();
    (void)h.Push({3, 3, 3}, 5.0);
    (void)h.Push({4, 4, 4}, 5.0);
    SampleBatch b;
    ASSERT_EQ(h.Take(b), 4u);
    EXPECT_EQ(b.breakBefore, (std::vector<uint8_t>{1, 0, 1, 0}));
    ASSERT_EQ(b.arrivalUs.size(), 4u);
    for (size_t i = 1; i < 4; ++i) EXPECT_LE(b.arrivalUs[i - 1], b.arrivalUs[i]);
    // A re-opening drops what was queued and breaks before the next sample.
    (void)h.Push({5, 5, 5}, 5.0);
    h.Reset();
    (void)h.Push({6, 6, 6}, 5.0);
    ASSERT_EQ(h.Take(b), 1u);
    EXPECT_EQ(b.breakBefore, (std::vector<uint8_t>{1}));
    EXPECT_EQ(b.arrivalUs.size(), 1u);
}
