// The live archive through an in-memory file system, its day files read back by libmseed: UTC
// midnight, gaps, sequence numbers across measurements, the memory bound, failures, StationXML.
#include <gtest/gtest.h>

#include <random>

#include "SeedTestSupport.h"
#include "seed/Archive.h"

namespace {

using seed::Ticks;
constexpr Ticks kT = seed::kTicksPerSample;
const std::string kRoot = "C:\\data\\SDS";

struct Fixture {
    seedtest::MemoryFiles files;
    seed::ArchiveWriter archive{files};
    std::vector<std::string> opened, failed;
    std::vector<int32_t> sent[3];
    std::mt19937 rng{7};

    Fixture() {
        archive.reports.openFailed = [this](const std::string& p) { opened.push_back(p); };
        archive.reports.writeFailed = [this](const std::string& p) { failed.push_back(p); };
    }
    bool Start(Ticks now) { return archive.Start(kRoot, seed::ArchiveCodes{}, {0.125, 0.125, 0.25}, now); }
    // Samples arriving at the given times, in batches of 5 after a first one of `firstBatch`; the
    // first after a break when asked.
    void Deliver(const std::vector<Ticks>& arrival, bool breakFirst, size_t firstBatch = 5) {
        for (size_t done = 0; done < arrival.size();) {
            const size_t count = std::min(done == 0 ? firstBatch : size_t{5}, arrival.size() - done);
            std::vector<int32_t> c[3];
            std::vector<uint8_t> breaks(count, 0);
            breaks[0] = breakFirst && done == 0;
            for (size_t i = 0; i < count; ++i) {
                for (int a = 0; a < 3; ++a) {
                    c[a].push_back(static_cast<int32_t>(rng() % 6001) - 3000);
                    sent[a].push_back(c[a].back());
                }
            }
            seed::CountBatch b;
            for (int a = 0; a < 3; ++a) b.counts[a] = c[a].data();
            b.arrival = arrival.data() + done;
            b.breakBefore = breaks.data();
            b.n = count;
            archive.Add(b);
            done += count;
        }
    }
    // n samples taken every 10 ms from `first`, each arriving 2 ms later.
    void Send(Ticks first, int n, bool breakFirst) {
        std::vector<Ticks> arrival;
        for (int i = 0; i < n; ++i) arrival.push_back(first + i * kT + 20);
        Deliver(arrival, breakFirst);
    }
    std::string Path(int axis, Ticks t) const { return seed::DayFilePath(kRoot, seed::ArchiveCodes{}.Channel(axis), t); }
};

std::vector<int32_t> Samples(const std::vector<seedtest::ReadRecord>& records) {
    std::vector<int32_t> all;
    for (const auto& r : records) all.insert(all.end(), r.ints.begin(), r.ints.end());
    return all;
}

// Each axis's records in the day files of `before` and of `midnight` hold what was sent, in order;
// every record starts at the time `timeOf` gives its first sample (by its count from the first)
// and lies within its file's day.
template <class TimeOf>
void ExpectTimes(Fixture& f, Ticks before, Ticks midnight, TimeOf timeOf) {
    for (int axis = 0; axis < 3; ++axis) {
        std::vector<seedtest::ReadRecord> all;
        for (Ticks day : {before, midnight}) {
            const auto records = seedtest::ReadRecords(f.files.files[f.Path(axis, day)]);
            for (const auto& r : records) {
                const int64_t last = r.startUs + (static_cast<int64_t>(r.ints.size()) - 1) * 10000;
                EXPECT_TRUE(seed::DayOf(r.startUs / 100) == seed::DayOf(day) && seed::DayOf(last / 100) == seed::DayOf(day))
                    << "axis " << axis << ": a record of " << r.ints.size() << " samples at " << r.startUs << " us in the wrong day file";
            }
            all.insert(all.end(), records.begin(), records.end());
        }
        EXPECT_EQ(Samples(all), f.sent[axis]) << "axis " << axis;
        int64_t count = 0;
        for (const auto& r : all) {
            EXPECT_EQ(r.startUs, timeOf(count) * 100) << "axis " << axis << ", record at sample " << count;
            count += static_cast<int64_t>(r.ints.size());
        }
    }
}

TEST(Archive, DayFilesSplitAtUtcMidnightWithEverySampleInOrder) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    Fixture f;
    const Ticks start = seed::TicksOf({2024, 5, 6, 127, 23, 59, 50, 0});
    ASSERT_TRUE(f.Start(start));
    f.Send(start, 2000, true);
    f.archive.Stop();
    EXPECT_EQ(f.Path(2, start), "C:\\data\\SDS\\2024\\XX\\QRV01\\HNZ.D\\XX.QRV01.00.HNZ.D.2024.127");
    const Ticks midnight = seed::DayStart(seed::DayOf(start) + 1);
    for (int axis = 0; axis < 3; ++axis) {
        for (Ticks day : {start, midnight}) {
            const auto records = seedtest::ReadRecords(f.files.files[f.Path(axis, day)]);
            for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].sequence, static_cast<int>(i + 1));
        }
    }
    ExpectTimes(f, start, midnight, [&](int64_t count) { return start + 20 + count * kT; });
    // The first sample after midnight is exactly at it: 1000 samples of 10 ms after 23:59:50.002.
    const auto next = seedtest::ReadRecords(f.files.files[f.Path(0, midnight)]);
    EXPECT_EQ(next.front().startUs, (start + 20 + 1000 * kT) * 100);
}

TEST(Archive, AGapInReceptionIsAGapInTimeNeverAShift) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    Fixture f;
    const Ticks start = seed::TicksOf({2024, 5, 6, 127, 10, 0, 0, 0});
    ASSERT_TRUE(f.Start(start));
    f.Send(start, 1234, true);
    // Unplugged for 3.5 s: the next samples arrive after a break.
    const Ticks resumed = start + 1234 * kT + 35000;
    f.Send(resumed, 800, true);
    f.archive.Stop();
    const auto records = seedtest::ReadRecords(f.files.files[f.Path(1, start)]);
    EXPECT_EQ(Samples(records), f.sent[1]);
    // The record holding sample 1234 starts at the resumption; every record before ends before it.
    int64_t count = 0;
    bool found = false;
    for (const auto& r : records) {
        if (count == 1234) {
            EXPECT_EQ(r.startUs, (resumed + 20) * 100);
            found = true;
        } else {
            const int64_t segmentStart = count < 1234 ? start + 20 : resumed + 20 - 1234 * kT;
            EXPECT_EQ(r.startUs, (segmentStart + count * kT) * 100) << "record at sample " << count;
        }
        count += static_cast<int64_t>(r.ints.size());
    }
    EXPECT_TRUE(found) << "no record begins at the first sample after the gap";
}

// The link comes back shortly before midnight after an unplug, and its first samples arrive late:
//  - what it buffered meanwhile is read in one burst just after midnight: those samples belong
//    before it;
//  - its first second comes 0.28 s late in bursts (the re-opened port's backlog on a busy PC),
//    then on time, and midnight falls within that second: the day files must not fix the start
//    before the samples on time have shown it, or the run is dated late and then filed again,
//    overlapping.
// Either way the trace after the gap is one run at the times its samples were taken.
TEST(Archive, LateArrivalsAfterAGapAtMidnightAreFiledWhenTakenWithoutAShift) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    const Ticks midnight = seed::TicksOf({2024, 5, 7, 128, 0, 0, 0, 0});
    const Ticks start = midnight - 12 * seed::kTicksPerSecond;
    // taken: when the first sample after the gap was taken; late(i): how much later sample i came.
    const auto run = [&](const char* name, Ticks taken, size_t firstBatch, auto late) {
        SCOPED_TRACE(name);
        Fixture f;
        ASSERT_TRUE(f.Start(start));
        f.Send(start, 800, true);  // until 4 s before midnight
        std::vector<Ticks> arrival;
        for (int i = 0; i < 1500; ++i) arrival.push_back(taken + i * kT + late(i));
        f.Deliver(arrival, true, firstBatch);
        f.archive.Stop();
        ExpectTimes(f, start, midnight, [&](int64_t n) { return n < 800 ? start + 20 + n * kT : taken + (n - 800) * kT; });
    };
    run("a burst of 150 read 50 ms after midnight", midnight + 500 - 149 * kT, 150,
        [](int i) { return i < 150 ? (149 - i) * kT : 0; });
    run("a late first second from 0.7 s before midnight", midnight - 7000, 5,
        [](int i) { return i < 97 ? (4 - i % 5) * kT + 2800 : 0; });
}

TEST(Archive, AnotherMeasurementOnTheSameDayGoesOnWithTheSequenceNumbers) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    Fixture f;
    const Ticks start = seed::TicksOf({2024, 5, 6, 127, 10, 0, 0, 0});
    ASSERT_TRUE(f.Start(start));
    f.Send(start, 3000, true);
    f.archive.Stop();
    const size_t first = seedtest::ReadRecords(f.files.files[f.Path(0, start)]).size();
    ASSERT_TRUE(f.Start(start + 600 * seed::kTicksPerSecond));
    f.Send(start + 600 * seed::kTicksPerSecond, 3000, true);
    f.archive.Stop();
    const auto records = seedtest::ReadRecords(f.files.files[f.Path(0, start)]);
    ASSERT_GT(records.size(), first);
    for (size_t i = 0; i < records.size(); ++i) EXPECT_EQ(records[i].sequence, static_cast<int>(i + 1));
}

TEST(Archive, HoldsAtMostOneRecordPerChannelAndTheStopWritesIt) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    Fixture f;
    const Ticks start = seed::TicksOf({2024, 5, 6, 127, 10, 0, 0, 0});
    ASSERT_TRUE(f.Start(start));
    for (int step = 0; step < 20; ++step) {
        f.Send(start + step * 5000 * kT, 5000, false);
        const size_t written = Samples(seedtest::ReadRecords(f.files.files[f.Path(2, start)])).size();
        // One record holds at most 721 samples (7 per word), and 6 wait to be packed.
        EXPECT_LE(f.sent[2].size() - written, 727u) << "after " << f.sent[2].size() << " samples";
    }
    f.archive.Stop();
    EXPECT_EQ(Samples(seedtest::ReadRecords(f.files.files[f.Path(2, start)])), f.sent[2]);
}

TEST(Archive, AFailedWriteIsReportedOnceAndEndsTheArchiveUntilTheNextStart) {
    Fixture f;
    const Ticks start = seed::TicksOf({2024, 5, 6, 127, 10, 0, 0, 0});
    ASSERT_TRUE(f.Start(start));
    f.Send(start, 3000, true);
    const int appends = f.files.appends;
    ASSERT_GT(appends, 0);
    f.files.failAppendTo = "HNN.D";
    f.Send(start + 3000 * kT, 6000, false);
    f.archive.Stop();
    EXPECT_EQ(f.failed, std::vector<std::string>{f.Path(1, start)});
    EXPECT_TRUE(f.opened.empty());
    EXPECT_FALSE(f.archive.Running());
    EXPECT_LE(f.files.appends, appends + 3) << "records written after the failure";
    // The next measurement starts afresh and reports again.
    f.files.failAppendTo.clear();
    EXPECT_TRUE(f.Start(start + 100 * seed::kTicksPerSecond));
    f.files.failAppendTo = "HNE.D";
    f.files.failAsOpen = true;
    f.Send(start + 100 * seed::kTicksPerSecond, 3000, true);
    EXPECT_EQ(f.opened, std::vector<std::string>{f.Path(0, start)});
}

TEST(Archive, StationXmlAtTheRootAndAnUnwritableRootReported) {
    Fixture f;
    ASSERT_TRUE(f.Start(seed::TicksOf({2024, 5, 6, 127, 10, 0, 0, 0})));
    const std::string& xml = f.files.files["C:\\data\\SDS\\XX.QRV01.xml"];
    EXPECT_NE(xml.find("<Channel code=\"HNE\" locationCode=\"00\""), std::string::npos);
    EXPECT_NE(xml.find("<Value>800</Value>"), std::string::npos) << "0.125 gal per count: 800 counts per m/s**2";
    EXPECT_NE(xml.find("<Value>400</Value>"), std::string::npos);
    EXPECT_NE(xml.find("0.25 gal per count (4 counts per gal)"), std::string::npos);
    EXPECT_NE(xml.find("<Created>2024-05-06T10:00:00.0000Z</Created>"), std::string::npos);

    Fixture g;
    g.files.failMakeFolders = true;
    EXPECT_FALSE(g.Start(0));
    EXPECT_EQ(g.opened, std::vector<std::string>{kRoot});
    g.Send(0, 100, true);
    EXPECT_EQ(g.files.appends, 0);
}

}  // namespace
