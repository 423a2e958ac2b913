// The simulated recorder's records decode back to what it meant to send; its command replies.
#include <gtest/gtest.h>

#include <random>

#include "device/RecordDecoder.h"
#include "tools/recsim/RecorderModel.h"

using namespace recsim;

namespace {

device::DecodedRecord Decode(const std::string& s, int bit) {
    EXPECT_EQ(s.size(), static_cast<size_t>(device::RecordLength(bit)));
    return device::DecodeRecord(reinterpret_cast<const uint8_t*>(s.data()), bit);
}

TEST(RecsimModel, RandomSamplesRoundTripThroughTheDecoder) {
    std::mt19937 rng(7);
    for (int bit : {12, 16}) {
        for (double hz : {5.0, 10.0, 20.0, 40.0, 3.0}) {
            for (int i = 0; i < 500; ++i) {
                const int32_t x = rng() % (FullScale(bit) + 1), y = rng() % (FullScale(bit) + 1),
                              z = rng() % (FullScale(bit) + 1);
                const std::string rec = SampleRecordBytes(bit, x, y, z, LowPassCode(bit, hz));
                const auto d = Decode(rec, bit);
                ASSERT_FALSE(d.isTime);
                EXPECT_EQ(d.sample, (SampleRecord{x - MidScale(bit), y - MidScale(bit), z - MidScale(bit)}));
                const bool known = hz == 5.0 || (bit == 16 ? (hz == 10.0 || hz == 20.0)
                                                           : (hz == 10.0 || hz == 40.0));
                EXPECT_EQ(d.lowPassHz, known ? hz : 0.0);
            }
        }
    }
}

TEST(RecsimModel, CountsAreClampedToTheFormat) {
    EXPECT_EQ(SampleLine(12, -5, 5000, 2048, ':'), "0000:4095,2048");
    EXPECT_EQ(SampleLine(16, 70000, 0, 32768, ';'), "65535;00000,32768");
}

TEST(RecsimModel, TimeRecordsDecodeAsTimeReports) {
    const ClockTime t{2024, 5, 6, 12, 34, 56};
    EXPECT_EQ(TimeLine(t), "TM240506123456");
    for (int bit : {12, 16}) {
        const auto d = Decode(TimeRecordBytes(bit, t), bit);
        EXPECT_TRUE(d.isTime);
        EXPECT_EQ(d.timeText, "TM240506123456");
    }
}

TEST(RecsimModel, ClockArithmeticCrossesMonthsAndLeapDays) {
    const ClockTime t = AddSeconds({2024, 2, 28, 23, 59, 59}, 86401);
    EXPECT_EQ(TimeLine(t), "TM240301000000");
    EXPECT_EQ(TimeLine(AddSeconds({2023, 12, 31, 23, 59, 30}, 45)), "TM240101000015");
}

TEST(RecsimModel, AnswersThresholdReadAndTakesWritesAndClock) {
    CommandInterpreter c;
    std::string reply;
    auto done = c.Feed("THR\r", reply);
    EXPECT_EQ(reply, "P-,015\r\nN1,010\r\nN2,020\r\nN3,030\r\n");
    EXPECT_EQ(done, (std::vector<std::string>{"THR"}));
    reply.clear();
    done = c.Feed("P-,999\r\nN1,000\r\nN2,5", reply);
    done = c.Feed("00\r\nN3,123\r\n", reply);
    EXPECT_TRUE(reply.empty());
    EXPECT_EQ(c.p, 999);
    EXPECT_EQ(c.n1, 0);
    EXPECT_EQ(c.n2, 500);
    EXPECT_EQ(c.n3, 123);
    done = c.Feed("24-05-06-12-34-56", reply);
    EXPECT_EQ(done, (std::vector<std::string>{"CLOCK 24-05-06-12-34-56"}));
    EXPECT_TRUE(c.clockSet);
    EXPECT_EQ(TimeLine(c.clock), "TM240506123456");
}

TEST(RecsimModel, SignalsStayInRangeAndAreReproducible) {
    AxisSignal axes[3];
    axes[0].amp = 5000;  // beyond full scale: clamped
    axes[1].noise = 100;
    axes[2].burstAmp = 1000;
    SignalGenerator a(12, axes, 42), b(12, axes, 42);
    for (uint64_t i = 0; i < 2000; ++i) {
        int32_t va[3], vb[3];
        a.Sample(i, va);
        b.Sample(i, vb);
        for (int k = 0; k < 3; ++k) {
            ASSERT_EQ(va[k], vb[k]);
            ASSERT_GE(va[k], 0);
            ASSERT_LE(va[k], 4095);
        }
    }
}

}  // namespace

namespace {

// SD-card lines are the stream records without their line end: 14 characters (12-bit samples and
// time lines) or 17 (16-bit samples).
TEST(RecsimModel, SdCardFileLinesHaveTheRecordLayout) {
    AxisSignal axes[3];
    axes[0].amp = 300;
    for (int bit : {12, 16}) {
        SignalGenerator gen(bit, axes, 1);
        const std::string file = SdCardFile(bit, {2024, 5, 6, 12, 34, 59}, gen, 250, 100, ':');
        std::vector<std::string> lines;
        size_t pos = 0, crlf;
        while ((crlf = file.find("\r\n", pos)) != std::string::npos) {
            lines.push_back(file.substr(pos, crlf - pos));
            pos = crlf + 2;
        }
        EXPECT_EQ(pos, file.size());
        ASSERT_EQ(lines.size(), 253u);
        EXPECT_EQ(lines[0], "TM240506123459");
        EXPECT_EQ(lines[101], "TM240506123500");
        EXPECT_EQ(lines[202], "TM240506123501");
        for (const std::string& l : lines) {
            if (l.rfind("TM", 0) == 0) continue;
            ASSERT_EQ(l.size(), bit == 16 ? 17u : 14u);
            const std::string rec = l + "\r\n";
            EXPECT_FALSE(device::DecodeRecord(reinterpret_cast<const uint8_t*>(rec.data()), bit).isTime);
        }
    }
}

}  // namespace
