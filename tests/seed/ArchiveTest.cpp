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
    // n samples arriving every 10 ms from `first` (2 ms late), in batches of 5; the first after a
    // break when asked.
    void Send(Ticks first, int n, bool breakFirst) {
        for (int done = 0; done < n;) {
            const int count = std::min(5, n - done);
            std::vector<int32_t> c[3];
            std::vector<Ticks> arrival;
            std::vector<uint8_t> breaks;
            for (int i = 0; i < count; ++i, ++done) {
                for (int a = 0; a < 3; ++a) {
                    const int32_t v = static_cast<int32_t>(rng() % 6001) - 3000;
                    c[a].push_back(v);
                    sent[a].push_back(v);
                }
                arrival.push_back(first + done * kT + 20);
                breaks.push_back(breakFirst && done == 0);
            }
            seed::CountBatch b;
            for (int a = 0; a < 3; ++a) b.counts[a] = c[a].data();
            b.arrival = arrival.data();
            b.breakBefore = breaks.data();
            b.n = static_cast<size_t>(count);
            archive.Add(b);
        }
    }
    std::string Path(int axis, Ticks t) const { return seed::DayFilePath(kRoot, seed::ArchiveCodes{}.Channel(axis), t); }
};

std::vector<int32_t> Samples(const std::vector<seedtest::ReadRecord>& records) {
    std::vector<int32_t> all;
    for (const auto& r : records) all.insert(all.end(), r.ints.begin(), r.ints.end());
    return all;
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
        std::vector<int32_t> all;
        for (Ticks day : {start, midnight}) {
            const auto records = seedtest::ReadRecords(f.files.files[f.Path(axis, day)]);
            ASSERT_FALSE(records.empty()) << f.Path(axis, day);
            for (size_t i = 0; i < records.size(); ++i) {
                EXPECT_EQ(records[i].sequence, static_cast<int>(i + 1));
                const int64_t first = records[i].startUs, last = first + (static_cast<int64_t>(records[i].ints.size()) - 1) * 10000;
                EXPECT_EQ(seed::DayOf(first / 100), seed::DayOf(day / 1)) << "record " << i;
                EXPECT_EQ(seed::DayOf(last / 100), seed::DayOf(day)) << "record " << i << " reaches past midnight";
            }
            const auto s = Samples(records);
            all.insert(all.end(), s.begin(), s.end());
        }
        EXPECT_EQ(all, f.sent[axis]) << "axis " << axis;
    }
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

// The link comes back just before midnight and what it buffered meanwhile is read in one burst
// just after it: those samples belong before midnight, and the trace after the gap stays one run.
TEST(Archive, ABurstReadJustAfterMidnightIsFiledBeforeItWithoutAShift) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    Fixture f;
    const Ticks midnight = seed::TicksOf({2024, 5, 7, 128, 0, 0, 0, 0});
    const Ticks start = midnight - 8 * seed::kTicksPerSecond;
    ASSERT_TRUE(f.Start(start));
    f.Send(start, 500, true);  // ends 3 s before midnight
    const int burst = 150, later = 1500;
    const Ticks read = midnight + 500;  // the burst arrives 50 ms after midnight
    std::vector<Ticks> arrival;
    for (int i = 0; i < burst + later; ++i) arrival.push_back(i < burst ? read : read + (i - burst + 1) * kT);
    for (size_t done = 0; done < arrival.size();) {
        const size_t count = done == 0 ? burst : std::min<size_t>(5, arrival.size() - done);
        std::vector<int32_t> c[3];
        std::vector<uint8_t> breaks(count, 0);
        breaks[0] = done == 0;
        for (size_t i = 0; i < count; ++i) {
            for (int a = 0; a < 3; ++a) {
                c[a].push_back(static_cast<int32_t>(f.rng() % 6001) - 3000);
                f.sent[a].push_back(c[a].back());
            }
        }
        seed::CountBatch b;
        for (int a = 0; a < 3; ++a) b.counts[a] = c[a].data();
        b.arrival = arrival.data() + done;
        b.breakBefore = breaks.data();
        b.n = count;
        f.archive.Add(b);
        done += count;
    }
    f.archive.Stop();
    const Ticks resumed = read - (burst - 1) * kT;  // 1.44 s before midnight
    for (int axis = 0; axis < 3; ++axis) {
        std::vector<seedtest::ReadRecord> all;
        for (Ticks day : {start, midnight}) {
            const auto records = seedtest::ReadRecords(f.files.files[f.Path(axis, day)]);
            all.insert(all.end(), records.begin(), records.end());
        }
        EXPECT_EQ(Samples(all), f.sent[axis]) << "axis " << axis;
        int64_t count = 0;
        for (const auto& r : all) {
            const Ticks expected = count < 500 ? start + 20 + count * kT : resumed + (count - 500) * kT;
            EXPECT_EQ(r.startUs, expected * 100) << "axis " << axis << ", record at sample " << count;
            count += static_cast<int64_t>(r.ints.size());
        }
    }
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
