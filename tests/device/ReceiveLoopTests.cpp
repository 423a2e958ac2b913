// Receive loop: synchronisation, record checks, link-state reports, silence re-opening, stop.
#include <gtest/gtest.h>

#include <cstdio>
#include <future>
#include <stdexcept>
#include <thread>

#include "FakeLink.h"
#include "device/RsUtil.h"

using device::CRsUtil;
using devtest::FakeClock;
using devtest::FakePort;
using devtest::PortEvent;
using devtest::RecordingSink;

namespace {

const std::string kRecv = std::string("S:") + "受信ｴﾗｰ";
const std::string kData = std::string("S:") + "ﾃﾞｰﾀｴﾗｰ";
using Reports = std::vector<std::string>;

std::string Rec12(int x, int y, int z, char code = ':') {
    char b[32];
    std::snprintf(b, sizeof b, "%04d%c%04d,%04d\r\n", x, code, y, z);
    return b;
}
std::string Rec16(int x, int y, int z, char code = ':') {
    char b[32];
    std::snprintf(b, sizeof b, "%05d%c%05d,%05d\r\n", x, code, y, z);
    return b;
}

class Fallback : public device::PortFallback {
public:
    std::vector<std::string> found;
    int searches = 0, noPortShown = 0;
    std::vector<std::string> changed;
    std::vector<std::string> SearchPorts(const std::atomic<int32_t>&) override { ++searches; return found; }
    void ShowNoUsablePort() override { ++noPortShown; }
    void PortChanged(const std::string& name) override { changed.push_back(name); }
};

// The consumer handles each notice at once, as an idle user-interface thread would; the script's
// end stops the link.
class ReceiveLoop : public ::testing::Test {
protected:
    ReceiveLoop() : port(clock), sink(clock), link(port, clock, sink, &fallback) {
        port.onExhausted = [this] { link.RequestStop(); };
        sink.onSamples = [this] {
            device::SampleBatch batch;
            link.samples.Take(batch);
            for (size_t i = 0; i < batch.size(); ++i) {
                received.push_back({batch.x[i], batch.y[i], batch.z[i]});
                breaks.push_back(batch.breakBefore[i]);
                lowPass.push_back(link.samples.LowPassHz());
            }
            if (link.samples.FinishNotice()) sink.SamplesQueued();
        };
    }
    void RunLink(int bit = 12) {
        link.SetLineConfig("COM3", bit);
        link.ArmRun();
        EXPECT_EQ(link.Run(), 0);
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(link.linkState.load(), 0);
    }

    FakeClock clock{1000};
    FakePort port;
    Fallback fallback;
    RecordingSink sink;
    CRsUtil link;
    std::vector<SampleRecord> received;
    std::vector<uint8_t> breaks;  // reception broke before the sample (the archive's gaps)
    std::vector<double> lowPass;
};

TEST_F(ReceiveLoop, DecodesTwelveBitRecordsAfterTheFirstLineFeed) {
    port.Bytes("48:2048,2048\r\n");  // the tail of a record: skipped without a report
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Bytes(Rec12(0, 4095, 2049, '/'));
    RunLink(12);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], (SampleRecord{0, 0, 0}));
    EXPECT_EQ(received[1], (SampleRecord{-2048, 2047, 1}));
    EXPECT_EQ(lowPass, (std::vector<double>{5.0, 10.0}));
    // Only the silence at the end of the script is reported.
    EXPECT_EQ(sink.Reports(), (Reports{kRecv}));
    EXPECT_EQ(port.openedNames, (std::vector<std::string>{"COM3"}));
}

TEST_F(ReceiveLoop, DecodesSixteenBitRecordsWithTheirOwnCodeTable) {
    port.Bytes("\n");
    port.Bytes("40000;32768,00000\r\n");
    port.Bytes(Rec16(65535, 0, 32768, '/'));
    port.Bytes(Rec16(1, 2, 3, 'A'));
    RunLink(16);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], (SampleRecord{7232, 0, -32768}));
    EXPECT_EQ(received[1], (SampleRecord{32767, -32768, 0}));
    EXPECT_EQ(received[2], (SampleRecord{-32767, -32766, -32765}));
    EXPECT_EQ(lowPass, (std::vector<double>{10.0, 20.0, 0.0}));
}

TEST_F(ReceiveLoop, TimeReportIsSentAsKindOneAndQueuesNothing) {
    port.Bytes("\n");
    port.Bytes("TM240506123456\r\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    RunLink(12);
    EXPECT_EQ(sink.log.front(), "T:TM240506123456");
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(ReceiveLoop, TimeReportTextStopsAtAZeroByte) {
    port.Bytes("\n");
    port.Bytes(std::string("TM2405\0" "6123456\r\n", 16));
    RunLink(12);
    EXPECT_EQ(sink.log.front(), "T:TM2405");
}

TEST_F(ReceiveLoop, OneLostByteCostsOneDataErrorAndTheNextRecord) {
    std::string damaged = Rec12(1000, 1000, 1000);
    damaged.erase(3, 1);
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Bytes(damaged);
    port.Bytes(Rec12(2049, 2049, 2049));  // its first byte completes the damaged read
    port.Bytes(Rec12(2050, 2050, 2050));
    port.Bytes(Rec12(2051, 2051, 2051));
    RunLink(12);
    EXPECT_EQ(received, (std::vector<SampleRecord>{{0, 0, 0}, {2, 2, 2}, {3, 3, 3}}));
    EXPECT_EQ(breaks, (std::vector<uint8_t>{1, 1, 0})) << "the two lost records are a break";
    EXPECT_EQ(sink.Reports(), (Reports{kData, kRecv}));
}

TEST_F(ReceiveLoop, GoodRecordAfterDataErrorRaisesFramesOkSilently) {
    port.Bytes("\n");
    port.Bytes("garbage-garbage\r\n");   // 17 bytes: the 16-byte read ends on '\r'
    port.Bytes(Rec12(2048, 2048, 2048));
    RunLink(12);
    EXPECT_EQ(sink.Reports(), (Reports{kData, kRecv}));
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(ReceiveLoop, FramesOkIsSetAgainByAGoodRecord) {
    std::vector<int32_t> states;
    struct StateSink : RecordingSink {
        using RecordingSink::RecordingSink;
        std::vector<int32_t>* out = nullptr;
        void LinkStateChanged(int32_t s) override { out->push_back(s); }
    };
    FakeClock c;
    FakePort p(c);
    StateSink s(c);
    s.out = &states;
    CRsUtil l(p, c, s, nullptr);
    p.onExhausted = [&l] { l.RequestStop(); };
    p.Bytes("\nxxxxxxxxxxxxxxxx\n");
    p.Bytes(Rec12(1, 1, 1));
    l.SetLineConfig("COM1", 12);
    l.ArmRun();
    (void)l.Run();
    // 3 on opening; the 16 x's lose FRAMES_OK; the next line feed syncs; the record restores 3;
    // the silence at the end clears both; the end stores 0.
    EXPECT_EQ(states, (std::vector<int32_t>{3, 1, 3, 0}));
}

TEST_F(ReceiveLoop, FifteenBytesThenSilenceReportsBothAndReopensTwoSecondsLater) {
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Bytes(Rec12(1, 1, 1).substr(0, 15));
    port.Gap(10000);
    RunLink(12);
    ASSERT_GE(sink.Reports().size(), 2u);
    EXPECT_EQ(sink.Reports()[0], kData);
    EXPECT_EQ(sink.Reports()[1], kRecv);
    const uint32_t lossReported = sink.reportTicks[1];
    const auto closes = port.Ticks(PortEvent::Close);
    ASSERT_GE(closes.size(), 2u);  // a re-opening, then the end
    EXPECT_GE(closes[0] - lossReported, 2000u);
    EXPECT_LE(closes[0] - lossReported, 2101u);
}

TEST_F(ReceiveLoop, SilenceInRecordPhaseReportsOnceAndReopensEveryFourSeconds) {
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Gap(30000);
    port.Bytes(Rec12(2048, 2048, 2048));  // read in sync phase: resynchronises on its line feed
    port.Bytes(Rec12(2049, 2049, 2049));
    RunLink(12);
    EXPECT_EQ(sink.Reports(), (Reports{kRecv, kRecv}));  // the silence, then the script's end
    const auto opens = port.Ticks(PortEvent::Open);
    ASSERT_GE(opens.size(), 6u);
    // First re-opening: the record read (2016 ms) and one empty byte read (2001 ms) after the data.
    EXPECT_EQ(opens[1] - opens[0], 2016u + 2001u);
    for (size_t i = 2; i + 1 < opens.size(); ++i) EXPECT_EQ(opens[i] - opens[i - 1], 4002u);
    EXPECT_EQ(received, (std::vector<SampleRecord>{{0, 0, 0}, {1, 1, 1}}));
}

TEST_F(ReceiveLoop, SilenceTimerSurvivesTickWrapAround) {
    clock.now = 0xFFFFF000u;  // wraps about 4 s into the run
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Gap(20000);
    RunLink(12);
    const auto opens = port.Ticks(PortEvent::Open);
    ASSERT_GE(opens.size(), 4u);
    EXPECT_EQ(static_cast<uint32_t>(opens[1] - opens[0]), 4017u);
    for (size_t i = 2; i < opens.size(); ++i) EXPECT_EQ(static_cast<uint32_t>(opens[i] - opens[i - 1]), 4002u);
}

TEST_F(ReceiveLoop, TwelveBitStreamReadAsSixteenBitReportsOncePerRejectedRun) {
    port.Bytes("\n");
    for (int i = 0; i < 40; ++i) port.Bytes(Rec12(2048 + i, 2048, 2048));
    port.Gap(5000);
    for (int i = 0; i < 40; ++i) port.Bytes(Rec12(2048 + i, 2048, 2048));
    port.Gap(5000);
    RunLink(16);
    // Every 19-byte read starting after a line feed ends inside the next 16-byte record, so all
    // of them are rejected: one data error for the whole run, one loss of reception per silence;
    // frames never became good again, so the second run adds no data error.
    EXPECT_EQ(sink.Reports(), (Reports{kData, kRecv, kRecv}));
    EXPECT_TRUE(received.empty());
}

TEST_F(ReceiveLoop, FirstReadFailingIsReportedOnceWithItsCode) {
    port.Fail(5);
    port.Fail(5);
    port.Fail(31);
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Fail(22);
    port.Bytes("\n");
    RunLink(12);
    EXPECT_EQ(sink.Reports(),
              (Reports{"S:ReadFile err,5", kRecv, "S:ReadFile err,22", kRecv, kRecv}));
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(ReceiveLoop, FailingPortDoesNotSpinAndIsReportedOnceAcrossReopenings) {
    for (int i = 0; i < 200; ++i) port.Fail(995);
    RunLink(12);
    // Each failed read is padded to 100 ms: a re-opening about every 2 s, not a busy loop.
    const auto opens = port.Ticks(PortEvent::Open);
    ASSERT_GE(opens.size(), 5u);
    for (size_t i = 1; i < opens.size(); ++i) {
        EXPECT_GE(opens[i] - opens[i - 1], 2000u);
        EXPECT_LE(opens[i] - opens[i - 1], 2200u);
    }
    EXPECT_EQ(sink.Reports(), (Reports{"S:ReadFile err,995", kRecv}));
}

TEST_F(ReceiveLoop, UnplugAndReplugRecoversWithOneLossReport) {
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    for (int i = 0; i < 25; ++i) port.Fail(22);  // the adapter is pulled
    port.openResults = {true, false, false, false, true};  // and back for the fourth re-opening
    port.Bytes(Rec12(2049, 2049, 2049));
    port.Bytes(Rec12(2050, 2050, 2050));
    RunLink(12);
    EXPECT_EQ(sink.Reports(), (Reports{"S:ReadFile err,22", kRecv, kRecv}));
    EXPECT_EQ(received, (std::vector<SampleRecord>{{0, 0, 0}, {2, 2, 2}}));
    EXPECT_EQ(port.Count(PortEvent::OpenFailed), 3);
    EXPECT_EQ(fallback.searches, 3);
    EXPECT_EQ(fallback.noPortShown, 0);  // re-openings are not interactive
}

TEST_F(ReceiveLoop, StopRequestEndsAfterTheCurrentRecordWithoutReports) {
    auto consume = sink.onSamples;
    sink.onSamples = [this, consume] {
        consume();
        link.RequestStop();
    };
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Bytes(Rec12(2049, 2049, 2049));
    RunLink(12);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(port.Count(PortEvent::Read), 2);
    EXPECT_TRUE(sink.Reports().empty());  // the end clears the bits silently
}

// A stop (or the program's exit) while the first opening's port search is up: the search ends,
// no port is switched to or stored, no message is shown, and the loop ends.
TEST_F(ReceiveLoop, StopDuringThePortSearchEndsWithoutSwitchingPorts) {
    struct StoppingFallback : Fallback {
        CRsUtil* link = nullptr;
        std::vector<std::string> SearchPorts(const std::atomic<int32_t>& keepGoing) override {
            link->RequestStop();
            EXPECT_EQ(keepGoing.load(), 0);  // what the dialog's probes look at
            return Fallback::SearchPorts(keepGoing);
        }
    };
    for (const std::vector<std::string>& found : {std::vector<std::string>{"COM4"}, std::vector<std::string>{}}) {
        FakeClock c;
        FakePort p(c);
        RecordingSink s(c);
        StoppingFallback stopping;
        CRsUtil l(p, c, s, &stopping);
        stopping.link = &l;
        stopping.found = found;
        p.openResults = {false, true};
        p.Bytes("\n");
        for (int i = 0; i < 50; ++i) p.Bytes(Rec12(2048, 2048, 2048));
        l.SetLineConfig("COM3", 12);
        l.ArmRun();
        EXPECT_EQ(l.Run(), 0);
        EXPECT_EQ(p.openedNames, (std::vector<std::string>{"COM3"}));
        EXPECT_TRUE(stopping.changed.empty());
        EXPECT_EQ(stopping.noPortShown, 0);
        EXPECT_EQ(l.ComPort(), "COM3");
        EXPECT_LE(p.Count(PortEvent::Read), 1);
        EXPECT_TRUE(l.WaitUntilIdle(0));
    }
}

// The measurement's port vanishes and comes back under the same name (a USB adapter pulled and
// plugged in again): the re-opening stands in with the search's port while it is gone, goes back
// to it at the next re-opening that can open it, and stores nothing as the COM setting.
TEST_F(ReceiveLoop, ReopeningGoesBackToTheMeasurementsPort) {
    fallback.found = {"COM1"};  // a port that opens but carries nothing
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    for (int i = 0; i < 25; ++i) port.Fail(22);  // pulled: about 2 s of failing reads, then COM1
    port.openResults = {true, false, true, true};  // COM3, COM3 gone, COM1, COM3 back
    port.Gap(5000);
    port.Bytes("\n");
    port.Bytes(Rec12(2049, 2049, 2049));
    port.Bytes(Rec12(2050, 2050, 2050));
    RunLink(12);
    EXPECT_EQ(port.openedNames, (std::vector<std::string>{"COM3", "COM3", "COM1", "COM3"}));
    EXPECT_EQ(fallback.searches, 1);
    EXPECT_TRUE(fallback.changed.empty());
    EXPECT_EQ(link.ComPort(), "COM3");
    EXPECT_EQ(received, (std::vector<SampleRecord>{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}));
}

// Records that arrive on the search's port show the recorder is there now: it is stored, once.
TEST_F(ReceiveLoop, StandInPortIsStoredWhenRecordsArriveOnIt) {
    fallback.found = {"COM4"};
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    for (int i = 0; i < 25; ++i) port.Fail(22);
    port.openResults = {true, false, true};
    port.Bytes("\n");
    port.Bytes(Rec12(2049, 2049, 2049));
    port.Bytes(Rec12(2050, 2050, 2050));
    RunLink(12);
    EXPECT_EQ(port.openedNames, (std::vector<std::string>{"COM3", "COM3", "COM4"}));
    EXPECT_EQ(fallback.changed, (std::vector<std::string>{"COM4"}));
    EXPECT_EQ(link.ComPort(), "COM4");
    EXPECT_EQ(received.size(), 3u);
}

// A receive thread that was created but has not run yet already counts as busy, so the wait
// before the next start cannot miss it; a thread that failed to start clears the mark.
TEST_F(ReceiveLoop, ArmedLinkIsBusyUntilItsDelayedThreadHasRun) {
    link.SetLineConfig("COM3", 12);
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    link.ArmRun();
    std::promise<void> scheduled;
    std::thread late([this, go = scheduled.get_future()]() mutable {
        go.wait();
        (void)link.Run();
    });
    EXPECT_FALSE(link.WaitUntilIdle(0));
    EXPECT_FALSE(link.WaitUntilIdle(20));
    scheduled.set_value();
    EXPECT_TRUE(link.WaitUntilIdle(60000));
    late.join();
    EXPECT_EQ(received.size(), 1u);

    link.ArmRun();
    EXPECT_FALSE(link.WaitUntilIdle(0));
    link.DisarmRun();
    EXPECT_TRUE(link.WaitUntilIdle(0));
    EXPECT_EQ(link.runFlag.load(), 0);
}

TEST_F(ReceiveLoop, EntryOpensInteractivelyAndTakesTheFirstFoundPort) {
    port.openResults = {false, true};
    fallback.found = {"COM4", "COM7"};
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    RunLink(12);
    EXPECT_EQ(port.openedNames, (std::vector<std::string>{"COM3", "COM4"}));
    EXPECT_EQ(fallback.changed, (std::vector<std::string>{"COM4"}));
    EXPECT_EQ(link.ComPort(), "COM4");
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(ReceiveLoop, OpenPortWithoutAnyUsablePortTellsOnlyWhenInteractive) {
    link.SetLineConfig("COM9", 12);
    port.openResults = {false, false};
    EXPECT_FALSE(link.OpenPort(true));
    EXPECT_EQ(fallback.noPortShown, 1);
    EXPECT_FALSE(link.OpenPort(false));
    EXPECT_EQ(fallback.noPortShown, 1);
    EXPECT_EQ(fallback.searches, 2);
    EXPECT_FALSE(port.IsOpen());
}

// An exception inside the loop (a failing driver call, out of memory in the queue) ends it as a
// logged link error: the port closed, the link idle, so neither a stop nor the exit waits for ever.
TEST_F(ReceiveLoop, ExceptionEndsTheLoopAsALinkError) {
    struct ThrowingPort : FakePort {
        using FakePort::FakePort;
        int readsLeft = 3;
        device::IoResult Read(void* buffer, uint32_t count) override {
            if (readsLeft-- == 0) throw std::runtime_error("driver fault");
            return FakePort::Read(buffer, count);
        }
    };
    ThrowingPort failing(clock);
    CRsUtil l(failing, clock, sink, &fallback);
    sink.onSamples = [&l] {
        device::SampleBatch batch;
        l.samples.Take(batch);
        (void)l.samples.FinishNotice();
    };
    failing.Bytes("\n");
    for (int i = 0; i < 10; ++i) failing.Bytes(Rec12(2048, 2048, 2048));
    l.SetLineConfig("COM3", 12);
    l.ArmRun();
    EXPECT_EQ(l.Run(), 0);
    EXPECT_EQ(sink.Reports(), Reports{"S:RCV-ERR"});
    EXPECT_FALSE(failing.IsOpen());
    EXPECT_EQ(l.linkState.load(), 0);
    EXPECT_TRUE(l.WaitUntilIdle(0));
}

TEST_F(ReceiveLoop, ReopeningDiscardsUnconsumedSamples) {
    sink.onSamples = nullptr;  // the consumer never runs
    port.Bytes("\n");
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Bytes(Rec12(2048, 2048, 2048));
    port.Gap(5000);
    port.Bytes("\n");
    port.Bytes(Rec12(2049, 2049, 2049));
    RunLink(12);
    EXPECT_EQ(link.samples.QueuedCount(), 1u);
    EXPECT_TRUE(link.samples.NoticePending());
    // One notice for the first two samples, one after the re-opening cleared the flag.
    int notices = 0;
    for (const auto& e : sink.log) notices += e == "Q";
    EXPECT_EQ(notices, 2);
}

}  // namespace
