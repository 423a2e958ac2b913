// What the program's windows and threads share, without the platform: the settings, the rings,
// the serial link, peaks, analysis, pipeline, recordings and the measurement session, with the
// steps of the start-up that follow the settings, and the channel from the receive thread to the
// user-interface thread. The application object gives it the platform's parts.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>

#include "analysis/Analysis.h"
#include "app/MeasurementSession.h"
#include "app/StayAwake.h"
#include "config/Settings.h"
#include "device/RsUtil.h"
#include "files/WaveFile.h"
#include "pipeline/PeakHold.h"
#include "pipeline/SamplePipeline.h"
#include "pipeline/WaveBuffer.h"
#include "recording/RecordingControl.h"

namespace app {

// The receive thread's news for the user-interface thread, which the thread never waits for: the
// texts (status and time reports, oldest first, each announced by a posted message) and a port it
// switched to (announced by its own message). The lock guards both only, and no message is sent
// while it is held.
class LinkEvents {
public:
    struct Event {
        std::string text;
        int kind;  // device::kReportStatus or kReportTime
    };

    void Push(const std::string& text, int kind);
    // Every text queued so far, in order: one notice may find several (or, after an earlier one
    // took them, none).
    [[nodiscard]] std::deque<Event> TakeAll();
    void HandOverPort(const std::string& name);
    // The port handed over since the last call; empty: none.
    [[nodiscard]] std::string TakePort();

private:
    std::mutex lock_;
    std::deque<Event> events_;
    std::string port_;
};

// The platform's parts the core runs on; all of them outlive it.
struct AppPlatform {
    device::SerialPort& serialPort;
    device::TickClock& tickClock;
    device::LinkSink& linkSink;
    device::PortFallback* portFallback;
    files::WaveFileSystem& waveFileSystem;
    SystemAwake& systemAwake;
    SessionLink& sessionLink;
    SessionClock& sessionClock;
    MeasurementFollower& follower;
};

class AppCore {
public:
    explicit AppCore(const AppPlatform& platform);
    AppCore(const AppCore&) = delete;
    AppCore& operator=(const AppCore&) = delete;

    // After the settings were read: the peaks cleared, the analysis set up and the rings sized by
    // [SPEC] RING_BUF_MIN_SIZE (a measurement start sizes them again by its own rule). A size that
    // cannot be had is noted for the event log once the panel is up.
    void SetUpFromSettings();
    // Takes the samples the receive thread queued (the data notice, and once at a stop); returns
    // how many. With holdNotice the notice stays pending: the window's timer comes back for more.
    int OnSampleData(bool holdNotice = false);
    // Opens the port of these settings once and closes it again.
    [[nodiscard]] bool ProvePortOnce(const std::string& com, int bit);
    // Stores a port change the receive thread handed over as [SPEC] COM (user-interface thread).
    void TakePortChange();
    // Waits until no receive thread runs, calling `handleSent` between waits so that messages sent
    // to this thread are handled (a port search or message box the receive thread runs may wait
    // for one); false when one still runs after about five seconds (with untilEnded: no limit). A
    // port the ended thread switched to is the setting then, even if its notice is still queued.
    [[nodiscard]] bool WaitForLinkIdle(bool untilEnded, const std::function<void()>& handleSent);

    Settings settings;
    int settingWindowType = 1;         // [SPEC] SETTING_WINDOW_TYPE: 1 detailed, 0 simple settings form
    WaveBuffer waveBuffers[3];         // X, Y, Z
    device::CRsUtil link;
    // Keeps the PC awake while a measurement runs; told after every start and stop.
    AwakeWhileMeasuring awake;
    PeakHold peaks;
    AnalysisState analysis;            // length N, frequency tables, transform and taper window
    SamplePipeline pipeline;
    std::string startupNotice;         // for the event log once the panel is up; empty: none
    // The manual and the trigger recording with their two waveform-file writers.
    RecordingControl recorder;
    // Start, stop and their guard, whether a measurement runs, and the review's base time.
    MeasurementSession session;
    LinkEvents linkEvents;
};

}  // namespace app
