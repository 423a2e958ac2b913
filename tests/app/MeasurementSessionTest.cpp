// The measurement session through its interfaces: a start and a stop, the starts that fail and
// leave the panel idle, the requests that come while a start's port search runs, and the time of
// the review's first sample.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/MeasurementSession.h"
#include "common/FakeWaveFileSystem.h"

namespace {

// Every window, the link, the clock and the archive in one, writing down what it is asked.
struct FakeHost : app::SessionLink, app::SessionClock, app::SessionPanel, app::SessionMonitors,
                  app::MeasurementFollower, app::SystemAwake {
    std::vector<std::string> log;     // the panel's event rows
    std::vector<std::string> calls;   // the link's steps
    std::string status, message;
    bool idleButtons = true, running = false, held = false;
    bool folder = true, idle = true, port = true, thread = true;
    std::function<void()> duringPortSearch;  // the search's message loop
    std::function<void()> duringDrain;
    uint64_t now = 0;

    bool WaitUntilIdle() override { return idle; }
    bool ProvePort(const std::string& com, int) override {
        calls.push_back("prove " + com);
        if (duringPortSearch) duringPortSearch();
        return port;
    }
    bool StartReceiving() override {
        calls.push_back("thread");
        return thread;
    }
    void ReleaseReceiveThread() override { calls.push_back("release"); }
    void DrainSamples() override {
        calls.push_back("drain");
        if (duringDrain) duringDrain();
    }
    uint64_t LocalNow() override { return now; }
    bool FolderExists(const std::string&) override { return folder; }
    void ShowMessage(const char* text) override { message = text; }
    void SetIdleButtons(bool on) override { idleButtons = on; }
    void DisableLoads() override { idleButtons = false; }
    void SetStatus(int lamp, const char* text) override { status = std::to_string(lamp) + " " + text; }
    void AddLog(const std::string& text) override { log.push_back(text); }
    void ShowRunning(bool on) override { running = on; }
    void ResetMonitors() override {}
    void RestoreTitle() override {}
    void ReviewAfterStop() override { calls.push_back("review"); }
    void OnMeasurementStart() override { calls.push_back("archive start"); }
    void OnMeasurementStop() override { calls.push_back("archive stop"); }
    void Hold() override { held = true; }
    void Release() override { held = false; }
};

struct Session {
    FakeHost host;
    Settings settings;
    WaveBuffer rings[3];
    app::PeakHold peaks;
    FakeWaveFileSystem files;
    app::RecordingControl recorder{files, settings};
    app::AwakeWhileMeasuring awake{host};
    app::MeasurementSession session{{settings, rings, peaks, recorder, awake}, host, host, host};

    Session() {
        settings.com = "COM3";
        peaks.Show(2, -1.0, 1.0);
        session.AttachPanel(&host);
        session.AttachMonitors(&host);
    }
};

TEST(MeasurementSession, StartThenStopDatesTheReviewFromTheLastDrainedSample) {
    Session s;
    s.session.ringsHoldFile = true;
    s.session.Toggle();
    EXPECT_TRUE(s.session.Running());
    EXPECT_TRUE(s.host.running && s.host.held && !s.host.idleButtons);
    EXPECT_FALSE(s.session.ringsHoldFile) << "the rings were emptied for the measurement";
    EXPECT_EQ(s.peaks.Min(2), 0.0);
    EXPECT_EQ(s.host.log, (std::vector<std::string>{"RCV-START"}));
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"prove COM3", "thread", "archive start"}));

    // The samples still queued at the stop are taken while the measurement still runs, and the
    // review's position 0 is the oldest sample held after them, 10 ms per sample before the stop.
    s.host.calls.clear();
    s.host.now = 133'000'000'000'000'000ULL;
    s.host.duringDrain = [&] {
        EXPECT_TRUE(s.session.Running());
        s.rings[0].heldCount = 250;
    };
    s.session.Toggle();
    EXPECT_EQ(s.session.reviewBaseTime, s.host.now - 250ULL * 100000ULL);
    EXPECT_FALSE(s.session.Running() || s.host.running || s.host.held);
    EXPECT_TRUE(s.host.idleButtons);
    EXPECT_EQ(s.host.status, "4 待機中");
    EXPECT_EQ(s.host.log.back(), "RCV-END");
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"release", "drain", "archive stop", "review"}));
}

TEST(MeasurementSession, AFailedStartLeavesThePanelIdleAndThePcFreeToSleep) {
    struct Case {
        const char* what;
        std::function<void(FakeHost&)> fault;
        const char* status;
    };
    const Case cases[] = {
        {"no save folder", [](FakeHost& h) { h.folder = false; }, ""},
        {"the last receive thread still reads", [](FakeHost& h) { h.idle = false; }, "0 OPEN ｴﾗｰ"},
        {"no usable port", [](FakeHost& h) { h.port = false; }, "0 OPEN ｴﾗｰ"},
        {"no thread", [](FakeHost& h) { h.thread = false; }, "0 OPEN ｴﾗｰ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        c.fault(s.host);
        s.session.Toggle();
        EXPECT_FALSE(s.session.Running() || s.session.Busy() || s.host.running || s.host.held);
        EXPECT_TRUE(s.host.idleButtons);
        EXPECT_EQ(s.host.status, c.status);
        EXPECT_TRUE(s.host.log.empty());
        EXPECT_EQ(s.host.message.empty(), s.host.folder);
    }
}

TEST(MeasurementSession, DuringAStartsPortSearchLoadsAreRefusedAndAStopIsIgnored) {
    Session s;
    s.host.duringPortSearch = [&] {
        EXPECT_TRUE(s.session.Busy()) << "an import or the settings would change the rings and the port";
        EXPECT_FALSE(s.session.Running());
        s.session.Toggle();  // the operator presses the button again inside the search's loop
    };
    s.session.Toggle();
    EXPECT_TRUE(s.session.Running());
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"prove COM3", "thread", "archive start"}));

    // Without windows (before they are up, after they are gone) a request changes nothing.
    s.session.AttachPanel(nullptr);
    s.session.Toggle();
    EXPECT_TRUE(s.session.Running());
}

}  // namespace
