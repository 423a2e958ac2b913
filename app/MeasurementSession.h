// A measurement's life without a window: start, stop, the guard against a second request while one
// is under way, and the time of the review's first sample. It reaches the receive thread, the PC's
// clock and disk, and the windows through the small interfaces below.
#pragma once

#include <cstdint>
#include <string>

#include "app/StayAwake.h"
#include "config/Settings.h"
#include "pipeline/PeakHold.h"
#include "pipeline/WaveBuffer.h"
#include "recording/RecordingControl.h"

namespace app {

// The serial link and its receive thread.
class SessionLink {
public:
    virtual ~SessionLink() = default;
    // Waits (handling the messages sent meanwhile) until no receive thread of an earlier
    // measurement runs; false when one still does after a few seconds.
    virtual bool WaitUntilIdle() = 0;
    // Opens the port of these settings once and closes it again; may run the port search and its
    // dialogs (a message loop). False when no port could be opened.
    virtual bool ProvePort(const std::string& com, int bit) = 0;
    // Starts the receive thread; false when it could not be started (nothing runs then).
    virtual bool StartReceiving() = 0;
    // Tells the receive thread to stop, handles the notices it already posted and gives the thread
    // up without waiting for its end.
    virtual void ReleaseReceiveThread() = 0;
    // Takes the samples still queued into the rings and their consumers.
    virtual void DrainSamples() = 0;
};

// The PC's clock and disk as a start and a stop ask them.
class SessionClock {
public:
    virtual ~SessionClock() = default;
    // Local time in 100 ns units since 1601-01-01 (a Windows FILETIME's count).
    virtual uint64_t LocalNow() = 0;
    virtual bool FolderExists(const std::string& path) = 0;
};

// The control panel as the session drives it.
class SessionPanel {
public:
    virtual ~SessionPanel() = default;
    virtual void ShowMessage(const char* text) = 0;  // modal: runs a message loop
    // Idle: settings and loads enabled, record and peak clear disabled; running: the reverse.
    virtual void SetIdleButtons(bool idle) = 0;
    virtual void DisableLoads() = 0;  // settings and both loads only: while a start is under way
    virtual void SetStatus(int lamp, const char* text) = 0;
    virtual void AddLog(const std::string& text) = 0;  // an event row with the PC's time
    virtual void ShowRunning(bool running) = 0;        // the start/stop button's picture
};

// The main window and its monitors as the session drives them.
class SessionMonitors {
public:
    virtual ~SessionMonitors() = default;
    // Both monitors at an empty sweep; the time monitor out of review.
    virtual void ResetMonitors() = 0;
    virtual void RestoreTitle() = 0;
    // Trigger markers off and the time monitor in review of what the rings hold.
    virtual void ReviewAfterStop() = 0;
};

// Others that follow the measurement's start and stop (the miniSEED archive).
class MeasurementFollower {
public:
    virtual ~MeasurementFollower() = default;
    virtual void OnMeasurementStart() = 0;
    virtual void OnMeasurementStop() = 0;
};

// What the session changes besides its own state: the rings, the peaks and the recordings.
struct SessionData {
    Settings& settings;
    WaveBuffer (&rings)[3];
    PeakHold& peaks;
    RecordingControl& recorder;
    AwakeWhileMeasuring& awake;
};

class MeasurementSession {
public:
    MeasurementSession(SessionData data, SessionLink& link, SessionClock& clock, MeasurementFollower& archive)
        : data_(data), link_(link), clock_(clock), archive_(archive) {}
    MeasurementSession(const MeasurementSession&) = delete;
    MeasurementSession& operator=(const MeasurementSession&) = delete;

    // The windows, once they exist; null when they go. Without both a toggle does nothing.
    void AttachPanel(SessionPanel* panel) { panel_ = panel; }
    void AttachMonitors(SessionMonitors* monitors) { monitors_ = monitors; }

    // "スタート/停止" and the registered toggle message: starts when idle, stops when running. The
    // port search's modal loop and the stop's message pump dispatch clicks and toggle messages
    // again: a request that arrives while one is under way is ignored.
    void Toggle();

    // Rings sized by the settings in force and emptied, peaks cleared, both monitors at an empty
    // sweep: the first step of a start, and again when new settings need larger rings.
    void ResetRingsAndMonitors();

    // An event row in the panel's log, when there is a panel.
    void Log(const std::string& text);

    bool Running() const { return running_ != 0; }
    const int* RunningFlag() const { return &running_; }  // for views that read it while drawing
    // A start is under way (its port search or one of its messages may be up) or a measurement
    // runs: loads into the rings and the settings are refused.
    bool Busy() const { return running_ != 0 || starting_; }

    // The rings hold an imported file (not a measurement's samples).
    bool ringsHoldFile = false;
    // Local time (FILETIME count) of review position 0; 0 = no time known.
    uint64_t reviewBaseTime = 0;

private:
    void Start();
    void Stop();

    SessionData data_;
    SessionLink& link_;
    SessionClock& clock_;
    MeasurementFollower& archive_;
    SessionPanel* panel_ = nullptr;
    SessionMonitors* monitors_ = nullptr;
    int running_ = 0;
    bool starting_ = false;
    bool toggling_ = false;
};

}  // namespace app
