// Reading waveform files back as segments: the writer's layout, every line-end convention, pieces
// of any size, short and empty lines, a second recording appended to a file, damaged headers, and a
// bounded fuzz.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "HistoryFiles.h"
#include "files/WaveSegments.h"

namespace files {
namespace {

struct Recorded : WaveSegmentSink {
    struct Segment {
        WaveTime time;
        std::vector<std::vector<double>> samples;
    };
    std::vector<Segment> segments;
    void OnSegment(const WaveTime& time) override { segments.push_back({time, {}}); }
    void OnSample(double x, double y, double z) override { segments.back().samples.push_back({x, y, z}); }
};

// Parses `bytes` fed in pieces of `piece` bytes (0: all at once).
Recorded Parse(const std::string& bytes, std::size_t piece = 0) {
    Recorded r;
    WaveSegmentParser parser(r);
    if (piece == 0) piece = bytes.size() + 1;
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        parser.Feed(bytes.data() + at, std::min(piece, bytes.size() - at));
    parser.Finish();
    return r;
}

const std::string kFile = history_test::TriggerHeader("2024.05.06_12:34:56") +
                          "12.500000,-0.125000,0.000000\r\n-0.500000,1234.500000,0.000000\r\n";

TEST(WaveSegments, WriterLayoutInAnyLineEndsAndPieces) {
    std::string lf = kFile, cr = kFile;
    for (std::size_t p; (p = lf.find("\r\n")) != std::string::npos;) lf.erase(p, 1);
    for (std::size_t p; (p = cr.find("\r\n")) != std::string::npos;) cr.erase(p + 1, 1);
    std::string unterminated = kFile.substr(0, kFile.size() - 2);
    for (const std::string* bytes : std::vector<const std::string*>{&kFile, &lf, &cr, &unterminated}) {
        for (std::size_t piece : {0u, 1u, 2u, 7u}) {
            const Recorded r = Parse(*bytes, piece);
            ASSERT_EQ(r.segments.size(), 1u) << "piece " << piece;
            const WaveTime& t = r.segments[0].time;
            EXPECT_TRUE(t.valid);
            EXPECT_EQ(t.year * 10000 + t.month * 100 + t.day, 20240506);
            EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 123456);
            ASSERT_EQ(r.segments[0].samples.size(), 2u) << "piece " << piece;
            EXPECT_EQ(r.segments[0].samples[0], (std::vector<double>{12.5, -0.125, 0.0}));
            EXPECT_EQ(r.segments[0].samples[1], (std::vector<double>{-0.5, 1234.5, 0.0}));
        }
    }
}

TEST(WaveSegments, ShortAndEmptyLinesRepeatThePreviousValues) {
    const Recorded r = Parse(history_test::TriggerHeader("2024.05.06_12:34:56") +
                             "7\r\n1.0,2.0,3.0\r\n1.5,2.5\r\n\r\n4.0,,x,9\r\n");
    ASSERT_EQ(r.segments.size(), 1u);
    const auto& s = r.segments[0].samples;
    ASSERT_EQ(s.size(), 5u);
    EXPECT_EQ(s[0], (std::vector<double>{7.0, 0.0, 0.0}));  // nothing before it to repeat
    EXPECT_EQ(s[2], (std::vector<double>{1.5, 2.5, 3.0}));
    EXPECT_EQ(s[3], (std::vector<double>{1.5, 2.5, 3.0}));
    EXPECT_EQ(s[4], (std::vector<double>{4.0, 0.0, 0.0}));  // empty and bad fields read as 0
}

TEST(WaveSegments, SecondRecordingAppendedToTheSameFile) {
    const Recorded r = Parse(kFile + history_test::TriggerHeader("2024.05.06_12:34:57") + "1.0,1.0,1.0\r\n");
    ASSERT_EQ(r.segments.size(), 2u);
    EXPECT_EQ(r.segments[0].samples.size(), 2u);
    ASSERT_EQ(r.segments[1].samples.size(), 1u);
    EXPECT_EQ(r.segments[1].time.second, 57);
}

TEST(WaveSegments, HeadersThatStartNoSegmentOrGiveNoTime) {
    EXPECT_TRUE(Parse("").segments.empty());
    EXPECT_TRUE(Parse("COMMENT_1:\r\nDATE_MAKE:2024.05.06_12:34:56\r\n1,2,3\r\n").segments.empty());
    EXPECT_TRUE(Parse("COMMENT_1:\r\nDATA:\r\nＸ,Ｙ,Ｚ\r\n").segments.empty());  // ends right after DATA:
    EXPECT_TRUE(Parse("DATA: \r\nX\r\ngal\r\n1,2,3\r\n").segments.empty());   // not exactly "DATA:"
    // A header without DATE_MAKE, or with a date that does not exist, gives an invalid time.
    for (const char* stamp : {"2024.02.30_12:34:56", "2024.13.01_00:00:00", "2024.05.06_24:00:00", "garbage"}) {
        const Recorded r = Parse(history_test::TriggerHeader(stamp) + "1,2,3\r\n");
        ASSERT_EQ(r.segments.size(), 1u) << stamp;
        EXPECT_FALSE(r.segments[0].time.valid) << stamp;
    }
    EXPECT_TRUE(ParseDateMake("DATE_MAKE:2024.02.29_23:59:59").valid);  // leap day
    EXPECT_FALSE(ParseDateMake("DATE_MAKE:2023.02.29_23:59:59").valid);
}

TEST(WaveSegments, FileNameTimes) {
    const WaveTime t = ParseWaveFileName("20240506_123456-2.csv");
    EXPECT_TRUE(t.valid);
    EXPECT_EQ(t.minute, 34);
    EXPECT_FALSE(ParseWaveFileName("2024050_6123456.csv").valid);
    EXPECT_FALSE(ParseWaveFileName("20241306_123456.csv").valid);
    EXPECT_FALSE(ParseWaveFileName("memo.csv").valid);
}

TEST(WaveSegments, BoundedFuzzNeverCrashesAndCountsEachLineAtMostOnce) {
    std::mt19937 rng(17);
    const std::string alphabet = "0123456789.,-+eE \r\nDATA:COMMENT_1:DATE_MAKE:\t\xff\x82";
    for (int round = 0; round < 400; ++round) {
        std::string bytes = kFile;
        // Mutate the writer's layout, or make up bytes from scratch.
        if (round % 2) bytes.clear();
        const int edits = static_cast<int>(rng() % 40);
        for (int e = 0; e < edits; ++e) {
            const char c = alphabet[rng() % alphabet.size()];
            const std::size_t at = bytes.empty() ? 0 : rng() % bytes.size();
            if (rng() % 3 == 0 && !bytes.empty()) bytes.erase(at, 1);
            else bytes.insert(at, 1, c);
        }
        if (round % 50 == 0) bytes += std::string(5000, '7');  // a line longer than the limit
        const Recorded r = Parse(bytes, 1 + rng() % 9);
        std::size_t lines = 1, samples = 0;
        for (char c : bytes) lines += c == '\n' || c == '\r';
        for (const auto& s : r.segments) samples += s.samples.size();
        EXPECT_LE(samples, lines) << "round " << round;
    }
}

}  // namespace
}  // namespace files
