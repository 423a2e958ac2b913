// Steim-2 and float records read back by libmseed: randomised runs of every difference size, the
// record header's fields, and the time fields.
#include <gtest/gtest.h>

#include <random>

#include "SeedTestSupport.h"
#include "seed/MiniSeed.h"
#include "seed/StationXml.h"

namespace {

using seed::EncodedData;

// Records of one channel: header + data for every area an encoder hands over.
struct Collector {
    Collector(int firstSequence, seed::Encoding e, seed::Ticks t = 0) : sequence(firstSequence), encoding(e), start(t) {}
    std::string bytes;
    int sequence;
    seed::Encoding encoding;
    seed::Ticks start;
    std::vector<int> samplesPerRecord;
    void Take(const EncodedData& d) {
        uint8_t r[seed::kRecordLength];
        seed::RecordHeader h;
        h.sequence = sequence;
        sequence = seed::NextSequence(sequence);
        h.id = {"XX", "QRV01", "00", "HNZ"};
        h.start = start + d.firstIndex * seed::kTicksPerSample;
        h.samples = d.samples;
        h.encoding = encoding;
        seed::WriteHeader(r, h);
        std::memcpy(r + seed::kDataOffset, d.bytes, seed::kDataBytes);
        bytes.append(reinterpret_cast<const char*>(r), sizeof r);
        samplesPerRecord.push_back(d.samples);
    }
};

std::vector<int32_t> Decoded(const std::string& bytes) {
    std::vector<int32_t> all;
    for (const auto& r : seedtest::ReadRecords(bytes)) all.insert(all.end(), r.ints.begin(), r.ints.end());
    return all;
}

// Values whose differences stay within `bits` bits, with runs of each size mixed in.
std::vector<int32_t> RandomValues(std::mt19937& rng, size_t n) {
    std::vector<int32_t> v(n);
    int32_t x = static_cast<int32_t>(rng() % 2000) - 1000;
    for (size_t i = 0; i < n; ++i) {
        if (i % 37 == 0) x = static_cast<int32_t>(rng() % 4000) - 2000;
        const int bits = std::uniform_int_distribution<int>(1, 30)(rng);
        const int32_t span = bits >= 30 ? (int32_t{1} << 28) - 1 : (int32_t{1} << (bits - 1));
        int64_t next = static_cast<int64_t>(x) + std::uniform_int_distribution<int32_t>(-span, span - 1)(rng);
        if (next > seed::Steim2Encoder::kLimit || next < -seed::Steim2Encoder::kLimit) next = -next / 2;
        x = static_cast<int32_t>(next);
        v[i] = x;
    }
    return v;
}

TEST(Steim2, RandomRunsReadBackExactlyByLibmseed) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    std::mt19937 rng(20240506);
    for (int round = 0; round < 300; ++round) {
        Collector c(1, seed::Encoding::Steim2);
        seed::Steim2Encoder encoder([&](const EncodedData& d) { c.Take(d); });
        const size_t n = 1 + rng() % 3000;
        const std::vector<int32_t> values = RandomValues(rng, n);
        for (size_t i = 0; i < n; ++i) encoder.Add(values[i], static_cast<int64_t>(i));
        encoder.Flush();
        ASSERT_EQ(Decoded(c.bytes), values) << "round " << round << ", " << n << " samples";
        ASSERT_EQ(encoder.Held(), 0);
    }
}

TEST(Steim2, EdgesOfEveryLayoutAndFullRecords) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    // Differences at both ends of 4, 5, 6, 8, 10, 15 and 30 bits (the widest within the values'
    // range), and a constant run, which fills a record with 7 samples per word: 721 samples.
    std::vector<int32_t> values{0};
    for (int bits : {4, 5, 6, 8, 10, 15}) {
        const int32_t lo = -(int32_t{1} << (bits - 1)), hi = (int32_t{1} << (bits - 1)) - 1;
        for (int i = 0; i < 20; ++i) values.push_back(values.back() + (i % 2 ? lo : hi));
        for (int i = 0; i < 20; ++i) values.push_back(values.back() + (i % 2 ? lo + 1 : hi + 1));
    }
    for (int i = 0; i < 20; ++i) values.push_back(i % 2 ? -seed::Steim2Encoder::kLimit : seed::Steim2Encoder::kLimit);
    values.insert(values.end(), 2000, values.back());
    Collector c(1, seed::Encoding::Steim2);
    seed::Steim2Encoder encoder([&](const EncodedData& d) { c.Take(d); });
    for (size_t i = 0; i < values.size(); ++i) encoder.Add(values[i], static_cast<int64_t>(i));
    encoder.Flush();
    EXPECT_EQ(Decoded(c.bytes), values);
    // The constant run packs 7 differences into each of a record's 103 data words.
    ASSERT_GE(c.samplesPerRecord.size(), 3u);
    EXPECT_EQ(c.samplesPerRecord[c.samplesPerRecord.size() - 2], 721);
}

TEST(Steim2, ValuesBeyondThe30BitRangeAreClampedNotWrapped) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    Collector c(1, seed::Encoding::Steim2);
    seed::Steim2Encoder encoder([&](const EncodedData& d) { c.Take(d); });
    encoder.Add(INT32_MIN, 0);
    encoder.Add(INT32_MAX, 1);
    encoder.Flush();
    EXPECT_EQ(Decoded(c.bytes), (std::vector<int32_t>{-seed::Steim2Encoder::kLimit, seed::Steim2Encoder::kLimit}));
}

TEST(Records, HeaderFieldsAndFloatsAsLibmseedReadsThem) {
    if (!seedtest::HaveReader()) GTEST_SKIP() << "no libmseed in this tree";
    // 2024-12-31 23:59:59.9876 UTC: day 366 of a leap year.
    const seed::Ticks start = seed::TicksOf({2024, 12, 31, 366, 23, 59, 59, 9876});
    Collector c(999998, seed::Encoding::Float64, start);
    seed::Float64Encoder encoder([&](const EncodedData& d) { c.Take(d); });
    std::vector<double> values;
    for (int i = 0; i < 130; ++i) values.push_back(i * 0.0123 - 1.5e-7 * i * i);
    for (size_t i = 0; i < values.size(); ++i) encoder.Add(values[i], static_cast<int64_t>(i));
    encoder.Flush();
    const auto records = seedtest::ReadRecords(c.bytes);
    ASSERT_EQ(records.size(), 3u);  // 56 + 56 + 18
    std::vector<double> back;
    for (size_t i = 0; i < records.size(); ++i) {
        const auto& r = records[i];
        EXPECT_EQ(r.nslc, "XX.QRV01.00.HNZ");
        EXPECT_EQ(r.rate, 100.0);
        EXPECT_EQ(r.length, 512);
        EXPECT_EQ(r.encoding, 5);
        EXPECT_EQ(r.startUs, (start + static_cast<seed::Ticks>(56 * i) * 100) * 100);
        back.insert(back.end(), r.doubles.begin(), r.doubles.end());
    }
    EXPECT_EQ(records[0].sequence, 999998);
    EXPECT_EQ(records[1].sequence, 999999);
    EXPECT_EQ(records[2].sequence, 1);  // wraps after six digits
    EXPECT_EQ(back, values);
}

TEST(Time, CalendarFieldsRoundTrip) {
    for (seed::Ticks t : {seed::Ticks{0}, seed::Ticks{-1}, seed::TicksOf({2000, 2, 29, 60, 12, 0, 0, 1}),
                          seed::TicksOf({2100, 3, 1, 60, 0, 0, 0, 0}), seed::TicksOf({2024, 12, 31, 366, 23, 59, 59, 9999})}) {
        const seed::UtcFields f = seed::FieldsOf(t);
        EXPECT_EQ(seed::TicksOf(f), t);
        EXPECT_EQ(f.dayOfYear, seed::DaysFromCivil(f.year, f.month, f.day) - seed::DaysFromCivil(f.year, 1, 1) + 1);
    }
    EXPECT_EQ(seed::FieldsOf(seed::TicksOf({2024, 12, 31, 0, 0, 0, 0, 0})).dayOfYear, 366);
    EXPECT_EQ(seed::FieldsOf(seed::TicksOf({2023, 12, 31, 0, 0, 0, 0, 0})).dayOfYear, 365);
    EXPECT_EQ(seed::FieldsOf(-1).year, 1969);
    // File times: 2024-05-06 12:34:56 UTC.
    const uint64_t ft = 133594724960000000ull;
    EXPECT_EQ(seed::IsoTime(seed::TicksFromFileTime(ft)), "2024-05-06T12:34:56.0000Z");
    EXPECT_EQ(seed::FileTimeFromTicks(seed::TicksFromFileTime(ft)), ft);
}

}  // namespace
