// The acquisition ring: both wrap cases of Append, ReadRing after a wrap, capacity 0, a file's
// samples adopted and released, and a randomized comparison with a plain queue.
#include <gtest/gtest.h>

#include <deque>
#include <numeric>
#include <random>
#include <vector>

#include "pipeline/WaveBuffer.h"

namespace {

std::vector<double> Ramp(int n, double first) {
    std::vector<double> v(static_cast<size_t>(n));
    std::iota(v.begin(), v.end(), first);
    return v;
}

// The held samples, oldest first, read by the invariant.
std::vector<double> Held(const WaveBuffer& ring) {
    std::vector<double> out;
    for (int i = 0; i < ring.heldCount; ++i) out.push_back(ring.samples[ring.PhysicalIndex(i)]);
    return out;
}

}  // namespace

TEST(WaveBufferAppend, WrapsAroundTheEndWhenTheBatchCrossesIt) {
    WaveBuffer ring;
    ring.Reset(6000);
    const auto first = Ramp(5998, 1.0);
    ring.Append(first.data(), first.size());
    EXPECT_EQ(ring.heldCount, 5998);
    EXPECT_EQ(ring.oldestIndex, 0);

    const double batch[5] = {-1, -2, -3, -4, -5};
    ring.Append(batch, 5);
    EXPECT_EQ(ring.samples[5998], -1);
    EXPECT_EQ(ring.samples[5999], -2);
    EXPECT_EQ(ring.samples[0], -3);
    EXPECT_EQ(ring.samples[1], -4);
    EXPECT_EQ(ring.samples[2], -5);
    EXPECT_EQ(ring.samples[3], 4.0);  // the oldest survivor
    EXPECT_EQ(ring.heldCount, 6000);
    EXPECT_EQ(ring.oldestIndex, 3);
    EXPECT_TRUE(ring.Check());
}

TEST(WaveBufferAppend, BatchLargerThanTheRingKeepsItsNewestSamplesFromSlotZero) {
    WaveBuffer ring;
    ring.Reset(6000);
    const auto some = Ramp(123, -500.0);
    ring.Append(some.data(), some.size());
    const auto batch = Ramp(7000, 1.0);
    ring.Append(batch.data(), batch.size());
    EXPECT_EQ(ring.heldCount, 6000);
    EXPECT_EQ(ring.oldestIndex, 0);
    EXPECT_EQ(ring.samples.front(), 1001.0);
    EXPECT_EQ(ring.samples.back(), 7000.0);
    EXPECT_EQ(Held(ring), Ramp(6000, 1001.0));
}

TEST(WaveBufferAppend, ExactlyFullRingAndOneMore) {
    WaveBuffer ring;
    ring.Reset(4);
    const double a[4] = {1, 2, 3, 4};
    ring.Append(a, 4);
    EXPECT_EQ(ring.heldCount, 4);
    EXPECT_EQ(ring.oldestIndex, 0);
    const double b[1] = {5};
    ring.Append(b, 1);
    EXPECT_EQ(Held(ring), (std::vector<double>{2, 3, 4, 5}));
    EXPECT_EQ(ring.oldestIndex, 1);
}

TEST(WaveBufferReadRing, AfterAWrapReturnsTheNewestSamples) {
    WaveBuffer ring;
    ring.Reset(10);
    const auto data = Ramp(18, 1.0);  // the ring ends up holding 9 .. 18, oldest at slot 8
    ring.Append(data.data(), 7);
    ring.Append(data.data() + 7, 5);
    ring.Append(data.data() + 12, 6);
    ASSERT_EQ(ring.heldCount, 10);
    ASSERT_EQ(ring.oldestIndex, 8);

    // The trigger recording's read: the newest m samples begin at heldCount - m. Counting from
    // slot 0 instead of the oldest sample would give 17, 18, 9, 10.
    double newest[4] = {};
    EXPECT_EQ(ring.ReadRing(ring.heldCount - 4, newest, 4), 4);
    EXPECT_EQ(std::vector<double>(newest, newest + 4), (std::vector<double>{15, 16, 17, 18}));

    double all[10] = {};
    EXPECT_EQ(ring.ReadRing(0, all, 10), 10);
    EXPECT_EQ(std::vector<double>(all, all + 10), Ramp(10, 9.0));
    // A start beyond the capacity wraps round to the oldest again.
    EXPECT_EQ(ring.ReadRing(10, all, 2), 2);
    EXPECT_EQ(all[0], 9.0);
}

TEST(WaveBufferReadRing, LimitsCountAndTreatsNegativeStartAsOldest) {
    WaveBuffer ring;
    ring.Reset(5);
    const double data[3] = {7, 8, 9};
    ring.Append(data, 3);
    std::vector<double> dest(8, -1.0);
    EXPECT_EQ(ring.ReadRing(-3, dest.data(), 8), 5);  // limited to the capacity
    EXPECT_EQ(dest, (std::vector<double>{7, 8, 9, 0, 0, -1, -1, -1}));
    EXPECT_EQ(ring.ReadRing(0, dest.data(), 0), 0);
    EXPECT_EQ(ring.ReadRing(0, dest.data(), -4), 0);
    EXPECT_EQ(ring.ReadRing(0, nullptr, 2), 0);
}

TEST(WaveBufferCapacityZero, NothingDividesByZero) {
    WaveBuffer ring;
    ring.Reset(0);
    EXPECT_TRUE(ring.Check());
    const double data[3] = {1, 2, 3};
    ring.Append(data, 3);
    EXPECT_EQ(ring.heldCount, 0);
    EXPECT_EQ(ring.oldestIndex, 0);
    double dest[3] = {};
    EXPECT_EQ(ring.ReadRing(0, dest, 3), 0);
    EXPECT_EQ(ring.ReadRing(-5, dest, 1), 0);
    EXPECT_TRUE(ring.Check());

    ring.Reset(-7);
    EXPECT_EQ(ring.Capacity(), 0);
    ring.Append(data, 3);
    EXPECT_TRUE(ring.Check());
}

TEST(WaveBufferReset, EmptiesAndZeroesEverySlot) {
    WaveBuffer ring;
    ring.Reset(3);
    const double data[5] = {1, 2, 3, 4, 5};
    ring.Append(data, 5);
    ring.Reset(4);
    EXPECT_EQ(ring.samples, (std::vector<double>{0, 0, 0, 0}));
    EXPECT_EQ(ring.heldCount, 0);
    EXPECT_EQ(ring.oldestIndex, 0);
    ring.Append(data, 0);
    ring.Append(nullptr, 2);
    EXPECT_EQ(ring.heldCount, 0);
}

TEST(WaveBufferAdopt, AFilesSamplesFillTheRingAndAppendsOverwriteTheOldestThenRelease) {
    WaveBuffer ring;
    ring.Reset(10);
    ring.Append(Ramp(7, 1).data(), 7);  // a wrapped measurement before the file
    ring.Adopt(Ramp(4, 10));
    EXPECT_EQ(ring.Capacity(), 4);
    EXPECT_EQ(Held(ring), (std::vector<double>{10, 11, 12, 13}));
    EXPECT_EQ(ring.Newest(), 13);
    ring.Append(Ramp(1, 20).data(), 1);
    EXPECT_EQ(Held(ring), (std::vector<double>{11, 12, 13, 20}));
    EXPECT_EQ(ring.Newest(), 20);
    EXPECT_TRUE(ring.Check());
    ring.Release();
    EXPECT_EQ(ring.Capacity(), 0);
    EXPECT_EQ(ring.samples.capacity(), 0u);  // the storage is given back, not only emptied
    EXPECT_TRUE(ring.Check());
}

TEST(WaveBufferCheck, DetectsBrokenInvariants) {
    WaveBuffer ring;
    ring.Reset(4);
    ring.heldCount = 5;
    EXPECT_FALSE(ring.Check());
    ring.heldCount = 1;
    ring.oldestIndex = 4;
    EXPECT_FALSE(ring.Check());
    ring.Reset(0);
    ring.oldestIndex = 1;
    EXPECT_FALSE(ring.Check());
}

// Random batch sizes (including larger than the ring) against a plain bounded queue.
TEST(WaveBufferRandomized, MatchesABoundedQueue) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 40; ++round) {
        const int capacity = std::uniform_int_distribution<int>(1, 50)(rng);
        WaveBuffer ring;
        ring.Reset(capacity);
        std::deque<double> model;
        double next = 1.0;
        for (int step = 0; step < 60; ++step) {
            const int n = std::uniform_int_distribution<int>(0, capacity * 2 + 1)(rng);
            const auto batch = Ramp(n, next);
            next += n;
            ring.Append(batch.data(), batch.size());
            for (double v : batch) model.push_back(v);
            while (static_cast<int>(model.size()) > capacity) model.pop_front();

            ASSERT_TRUE(ring.Check());
            ASSERT_EQ(Held(ring), std::vector<double>(model.begin(), model.end()));
            const int start = std::uniform_int_distribution<int>(0, ring.heldCount)(rng);
            const int count = ring.heldCount - start;
            std::vector<double> read(static_cast<size_t>(count) + 1, -1.0);
            ASSERT_EQ(ring.ReadRing(start, read.data(), count), count);
            ASSERT_EQ(std::vector<double>(read.begin(), read.begin() + count),
                      std::vector<double>(model.begin() + start, model.end()));
            ASSERT_EQ(read.back(), -1.0);
        }
    }
}
