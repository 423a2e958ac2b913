// Record decoding: field reading like atoi within the record, code tables, time texts; and a
// bounded fuzz of the whole receive loop with random bytes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "FakeLink.h"
#include "device/RecordDecoder.h"

using namespace device;

namespace {

DecodedRecord Decode(const std::string& s, int bit) {
    EXPECT_EQ(s.size(), static_cast<size_t>(RecordLength(bit)));
    return DecodeRecord(reinterpret_cast<const uint8_t*>(s.data()), bit);
}

int32_t Number(const std::string& s) {
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    return ReadNumber(p, p + s.size());
}

TEST(RecordDecoder, LengthFollowsTheBitSetting) {
    EXPECT_EQ(RecordLength(16), 19);
    EXPECT_EQ(RecordLength(12), 16);
    EXPECT_EQ(RecordLength(0), 16);  // anything but 16 is the 12-bit format
}

TEST(RecordDecoder, LowPassCodesDifferBetweenFormats) {
    EXPECT_EQ(LowPassHz(':', 12), 5.0);
    EXPECT_EQ(LowPassHz(';', 12), 40.0);
    EXPECT_EQ(LowPassHz('/', 12), 10.0);
    EXPECT_EQ(LowPassHz(':', 16), 5.0);
    EXPECT_EQ(LowPassHz(';', 16), 10.0);
    EXPECT_EQ(LowPassHz('/', 16), 20.0);
    EXPECT_EQ(LowPassHz('A', 12), 0.0);
    EXPECT_EQ(LowPassHz(0xFF, 16), 0.0);
}

TEST(RecordDecoder, NumbersAreReadLikeAtoi) {
    EXPECT_EQ(Number("2048:"), 2048);
    EXPECT_EQ(Number("  -12x"), -12);
    EXPECT_EQ(Number("+7"), 7);
    EXPECT_EQ(Number("--7"), 0);
    EXPECT_EQ(Number("abc"), 0);
    EXPECT_EQ(Number(""), 0);
    EXPECT_EQ(Number("\t\r\n 5"), 5);
    EXPECT_EQ(Number("\x82\xa0" "5"), 0);  // CP932 lead byte is no white space
}

TEST(RecordDecoder, NumbersSaturateInsteadOfOverflowing) {
    EXPECT_EQ(Number("99999999999999"), INT32_MAX);
    EXPECT_EQ(Number("-99999999999999"), INT32_MIN);
    EXPECT_EQ(Number("2147483647"), INT32_MAX);
    EXPECT_EQ(Number("-2147483648"), INT32_MIN);
}

TEST(RecordDecoder, NumbersStopAtTheRecordEnd) {
    const std::string s = "   12345";
    const auto* p = reinterpret_cast<const uint8_t*>(s.data());
    EXPECT_EQ(ReadNumber(p, p + 5), 12);
    EXPECT_EQ(ReadNumber(p, p + 3), 0);  // only white space inside the bounds
}

TEST(RecordDecoder, TwelveBitFieldsAndOffsets) {
    const DecodedRecord r = Decode("2048:2048,2048\r\n", 12);
    EXPECT_FALSE(r.isTime);
    EXPECT_EQ(r.sample, (SampleRecord{0, 0, 0}));
    EXPECT_EQ(r.lowPassHz, 5.0);
    EXPECT_EQ(Decode("0000;4095,0001\r\n", 12).sample, (SampleRecord{-2048, 2047, -2047}));
    EXPECT_EQ(Decode("0000;4095,0001\r\n", 12).lowPassHz, 40.0);
}

TEST(RecordDecoder, DigitsInUnexaminedPositionsExtendTheNumber) {
    // A digit as code byte joins X and Y; position 14 joins Z.
    const DecodedRecord r = Decode("204852048,20489\n", 12);
    EXPECT_EQ(r.sample.x, 204852048 - 2048);
    EXPECT_EQ(r.sample.z, 20489 - 2048);
    EXPECT_EQ(r.lowPassHz, 0.0);
    // All digits: saturated, never undefined.
    EXPECT_EQ(Decode("999999999999999\n", 12).sample.x, INT32_MAX - 2048);
}

TEST(RecordDecoder, SixteenBitFieldsAndOffsets) {
    const DecodedRecord r = Decode("40000;32768,00000\r\n", 16);
    EXPECT_EQ(r.sample, (SampleRecord{7232, 0, -32768}));
    EXPECT_EQ(r.lowPassHz, 10.0);
    EXPECT_EQ(Decode("65535/00000:-0001\r\n", 16).sample, (SampleRecord{32767, -32768, -32769}));
}

TEST(RecordDecoder, TimeReports) {
    DecodedRecord r = Decode("TM240506123456\r\n", 12);
    EXPECT_TRUE(r.isTime);
    EXPECT_EQ(r.timeText, "TM240506123456");
    r = Decode("TM240506123456XY\r\n\n", 16);
    EXPECT_EQ(r.timeText, "TM240506123456");
    r = Decode(std::string("TM24\0" "0506123456\n", 16), 12);
    EXPECT_EQ(r.timeText, "TM24");
    EXPECT_FALSE(Decode("Tm240506123456\r\n", 12).isTime);
}

TEST(RecordDecoder, CompletenessNeedsFullLengthAndLineFeed) {
    const std::string good = "2048:2048,2048\r\n";
    const auto* p = reinterpret_cast<const uint8_t*>(good.data());
    EXPECT_TRUE(IsCompleteRecord(p, 16, 16));
    EXPECT_FALSE(IsCompleteRecord(p, 15, 16));
    const std::string bad = "2048:2048,2048\r\r";
    EXPECT_FALSE(IsCompleteRecord(reinterpret_cast<const uint8_t*>(bad.data()), 16, 16));
}

// Random bytes with random line feeds, gaps and failures: the loop must end when the script ends,
// queue only well-formed samples, and never report two identical status texts in a row.
TEST(ReceiveLoopFuzz, RandomStreamsNeverCrashOrHang) {
    std::mt19937 rng(20240506);
    for (int round = 0; round < 200; ++round) {
        devtest::FakeClock clock(rng());
        devtest::FakePort port(clock);
        devtest::RecordingSink sink(clock);
        CRsUtil link(port, clock, sink, nullptr);
        port.onExhausted = [&link] { link.RequestStop(); };
        size_t taken = 0;
        sink.onSamples = [&] {
            SampleBatch b;
            taken += link.samples.Take(b);
            if (link.samples.FinishNotice()) sink.SamplesQueued();
        };
        const int bit = rng() % 2 ? 16 : 12;
        const int pieces = 1 + rng() % 40;
        size_t totalBytes = 0;
        for (int i = 0; i < pieces; ++i) {
            const unsigned kind = rng() % 10;
            if (kind == 0) {
                port.Gap(rng() % 6000);
            } else if (kind == 1) {
                port.Fail(rng() % 1000);
            } else {
                std::string s(rng() % 64, '\0');
                for (char& c : s) {
                    const unsigned v = rng() % 16;
                    c = v < 3 ? '\n' : v < 10 ? static_cast<char>('0' + rng() % 10)
                                              : static_cast<char>(rng() % 256);
                }
                port.Bytes(s);
                totalBytes += s.size();
            }
        }
        if (rng() % 3 == 0) port.openResults = {true, false, false, true};
        link.SetLineConfig("COM1", bit);
        link.ArmRun();
        ASSERT_EQ(link.Run(), 0);
        EXPECT_FALSE(port.IsOpen());
        EXPECT_LE(taken * RecordLength(bit), totalBytes);
        // "Data error" falls only from a good state: two of them need a good record between.
        const std::string dataError = std::string("S:") + "ﾃﾞｰﾀｴﾗｰ";
        bool frameSinceDataError = true;
        for (const auto& e : sink.log) {
            if (e == "Q" || e.rfind("T:", 0) == 0) frameSinceDataError = true;
            if (e == dataError) {
                EXPECT_TRUE(frameSinceDataError) << "round " << round;
                frameSinceDataError = false;
            }
        }
    }
}

}  // namespace
