// Clock transfer, threshold read and threshold write over a scripted port.
#include <gtest/gtest.h>

#include "FakeLink.h"
#include "device/RecorderCommands.h"

using device::Thresholds;
using devtest::FakeClock;
using devtest::FakePort;
using devtest::PortEvent;
using devtest::RecordingSink;

namespace {

class Commands : public ::testing::Test {
protected:
    Commands() : port(clock), sink(clock), link(port, clock, sink, nullptr) { link.SetLineConfig("COM3", 16); }
    std::optional<Thresholds> Read() { return device::ReadThresholds(link, clock); }
    // Every opening of the port was closed again.
    bool PortLeftClosed() const {
        return !port.IsOpen() && port.Count(PortEvent::Open) == port.Count(PortEvent::Close);
    }

    FakeClock clock{1000};
    FakePort port;
    RecordingSink sink;
    device::CRsUtil link;
};

TEST_F(Commands, ClockCommandIsSentInOneWriteWithoutLineEnd) {
    EXPECT_EQ(device::ClockCommand(2024, 5, 6, 12, 34, 56), "24-05-06-12-34-56");
    EXPECT_EQ(device::ClockCommand(2100, 12, 31, 0, 0, 9), "00-12-31-00-00-09");
    EXPECT_EQ(device::ClockSentText("24-05-06-12-34-56"), "時刻転送しました。 [24-05-06-12-34-56]");

    ASSERT_TRUE(device::SendClock(link, "24-05-06-12-34-56"));
    EXPECT_EQ(port.writes, std::vector<std::string>{"24-05-06-12-34-56"});
    EXPECT_EQ(port.openedNames, std::vector<std::string>{"COM3"});
    EXPECT_TRUE(PortLeftClosed());

    port.writeLimit = 16;
    EXPECT_FALSE(device::SendClock(link, "24-05-06-12-34-56")) << "a short write is a failure";
    EXPECT_TRUE(PortLeftClosed());

    port.writes.clear();
    port.openResults = {false};
    EXPECT_FALSE(device::SendClock(link, "24-05-06-12-34-56"));
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(Commands, ThresholdReplyInAnyOrderAmongOtherLines) {
    port.Bytes("THR\r\n");  // an echo of the request
    port.Bytes("N2,020\r\nP-,015\r\n12345:32768,32768\r\nN3,030\r\n");
    port.Gap(3000);
    port.Bytes("N1,010\r\n");
    port.Bytes("N1,999\r\n");  // after the four values: not read any more
    const auto t = Read();
    ASSERT_TRUE(t);
    EXPECT_EQ(*t, (Thresholds{15, 10, 20, 30}));
    ASSERT_FALSE(port.writes.empty());
    EXPECT_EQ(port.writes.front(), std::string("THR\r")) << "four bytes, no LF";
    EXPECT_TRUE(PortLeftClosed());
}

TEST_F(Commands, ThresholdValuesTakeAtMostThreeDigits) {
    device::ThresholdReplyReader r;
    for (char c : std::string("P-,1234\nN1,7\r\nN2,-05\nN3\n")) r.Feed(static_cast<uint8_t>(c));
    ASSERT_TRUE(r.Complete());
    EXPECT_EQ(r.Values(), (Thresholds{123, 7, -5, 0})) << "a line too short for digits does not read an older line";

    // A line longer than the buffer wraps: its last bytes land at the start and decide.
    device::ThresholdReplyReader wrapped;
    for (char c : std::string(256, 'x') + "P-,042\n") wrapped.Feed(static_cast<uint8_t>(c));
    EXPECT_EQ(wrapped.Values().p, 42);
    EXPECT_FALSE(wrapped.Complete());
}

TEST_F(Commands, ThresholdReadGivesUpAfterTwentySeconds) {
    // Silent recorder.
    const uint32_t start = clock.now;
    EXPECT_FALSE(Read());
    EXPECT_GE(clock.now - start, device::kThresholdReplyMs);
    EXPECT_LT(clock.now - start, device::kThresholdReplyMs + 2100) << "at most one read time-out more";
    EXPECT_TRUE(PortLeftClosed());

    // Three of four values, the fourth after the limit.
    port.Bytes("P-,015\r\nN1,010\r\nN2,020\r\n");
    port.Gap(25000);
    port.Bytes("N3,030\r\n");
    EXPECT_FALSE(Read());

    // Bytes that never form a line do not hold the read beyond the limit either.
    FakePort busy(clock);
    device::CRsUtil busyLink(busy, clock, sink, nullptr);
    for (int i = 0; i < 300; ++i) {
        busy.Bytes(std::string(50, 'x'));
        busy.Gap(100);
    }
    const uint32_t busyStart = clock.now;
    EXPECT_FALSE(device::ReadThresholds(busyLink, clock));
    EXPECT_LT(clock.now - busyStart, device::kThresholdReplyMs + 2100);

    // A late but complete answer is taken.
    FakePort slow(clock);
    device::CRsUtil slowLink(slow, clock, sink, nullptr);
    slow.Gap(18000);
    slow.Bytes("P-,001\r\nN1,002\r\nN2,003\r\nN3,004\r\n");
    EXPECT_EQ(device::ReadThresholds(slowLink, clock), (Thresholds{1, 2, 3, 4}));
}

TEST_F(Commands, ThresholdReadFailsOnReadErrorAndMissingPort) {
    port.Bytes("P-,015\r\n");
    port.Fail(995);
    port.Bytes("N1,010\r\nN2,020\r\nN3,030\r\n");
    const uint32_t start = clock.now;
    EXPECT_FALSE(Read());
    EXPECT_LT(clock.now - start, 3000u) << "a failed read ends the exchange at once";
    EXPECT_TRUE(PortLeftClosed());

    port.openResults = {false};
    port.writes.clear();
    EXPECT_FALSE(Read());
    EXPECT_TRUE(port.writes.empty());
}

TEST_F(Commands, ThresholdWriteCommandAndTransfer) {
    const std::string command = device::ThresholdWriteCommand({15, 10, 20, 30});
    EXPECT_EQ(command, "P-,015\r\nN1,010\r\nN2,020\r\nN3,030\r\n");
    EXPECT_EQ(command.size(), 32u);
    EXPECT_EQ(device::ThresholdWriteCommand({999, 0, 999, 5}), "P-,999\r\nN1,000\r\nN2,999\r\nN3,005\r\n");

    ASSERT_TRUE(device::WriteThresholdCommand(link, command));
    EXPECT_EQ(port.writes, std::vector<std::string>{command});
    EXPECT_TRUE(PortLeftClosed());

    port.writeLimit = 31;
    EXPECT_FALSE(device::WriteThresholdCommand(link, command));
    port.openResults = {false};
    EXPECT_FALSE(device::WriteThresholdCommand(link, command));
}

// 転送 and モニタ run on the user-interface thread: no write may wait for ever (a recorder that is
// off, a handshake another program left on). The port gives up on its own, and the exchange ends
// in its usual message.
TEST_F(Commands, WritesGiveUpAndEndInTheExchangesFailure) {
    const device::LineControl& line = device::kRecorderLine;
    EXPECT_FALSE(line.outxCtsFlow || line.outxDsrFlow || line.outX) << "writes wait for no handshake";
    EXPECT_GT(line.writeMultiplier + line.writeConstant, 0u) << "0 and 0 would let a write wait for ever";
    EXPECT_LE(line.writeConstant + 32 * line.writeMultiplier, 5000u) << "the 32-byte write gives up within 5 s";
    EXPECT_EQ(line.readInterval, 0u);
    EXPECT_EQ(line.readMultiplier, 1u);
    EXPECT_EQ(line.readConstant, 2000u);

    port.writeLimit = 0;  // the port's write time-out passed with nothing sent
    EXPECT_FALSE(device::SendClock(link, "24-05-06-12-34-56"));
    EXPECT_FALSE(device::WriteThresholdCommand(link, device::ThresholdWriteCommand({15, 10, 20, 30})));
    const uint32_t start = clock.now;
    EXPECT_FALSE(Read()) << "the request never went out: no answer comes";
    EXPECT_LT(clock.now - start, device::kThresholdReplyMs + 2100);
    EXPECT_TRUE(PortLeftClosed());
}

}  // namespace
