// The application object: owns everything more than one window or thread shares, and runs the
// program's life from the single-instance check to saving the settings.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "app/AppLink.h"
#include "app/MeasurementSession.h"
#include "app/StayAwake.h"
#include "config/Settings.h"
#include "device/RsUtil.h"
#include "device/SearchComPortFallback.h"
#include "device/Thread.h"
#include "device/Win32SerialPort.h"
#include "files/Win32WaveFileSystem.h"
#include "pipeline/SamplePipeline.h"
#include "pipeline/WaveBuffer.h"
#include "recording/RecordingControl.h"

// The system stays awake through SetThreadExecutionState; every call comes from the user-interface
// thread, whose request it is.
class Win32SystemAwake : public app::SystemAwake {
public:
    void Hold() override { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }
    void Release() override { SetThreadExecutionState(ES_CONTINUOUS); }
};

// The session's clock and disk: the PC's local time and the folder test of the shell.
class Win32SessionClock : public app::SessionClock {
public:
    uint64_t LocalNow() override;
    bool FolderExists(const std::string& path) override;
};

// The miniSEED archive follows every start and stop.
class ArchiveFollower : public app::MeasurementFollower {
public:
    void OnMeasurementStart() override;
    void OnMeasurementStop() override;
};

// Also the measurement session's link: the receive thread with its port, and the samples' way in.
class CQuorvelApp : public app::SessionLink {
public:
    CQuorvelApp();
    ~CQuorvelApp();
    CQuorvelApp(const CQuorvelApp&) = delete;
    CQuorvelApp& operator=(const CQuorvelApp&) = delete;

    // The whole life of the program; returns the process exit code.
    int InitInstance();

    // "<current folder>\<program base name>.ini", formed anew at every call.
    static std::string IniPath();

    // Takes the samples the receive thread queued (the data notice, and once at a stop); returns
    // how many. With holdNotice the notice stays pending: the window's timer comes back for more.
    int OnSampleData(bool holdNotice = false);
    // Waits, while still handling messages sent to this thread, until no receive thread runs;
    // false when one is still running after a few seconds (with untilEnded: no time limit).
    bool WaitForLinkIdle(bool untilEnded = false);

    Settings settings;
    int settingWindowType = 1;         // [SPEC] SETTING_WINDOW_TYPE: 1 detailed, 0 simple settings form
    std::vector<std::string> foundPorts;
    WaveBuffer waveBuffers[3];         // X, Y, Z

    // The serial link: port, clock, where its news goes, and the receive thread.
    device::Win32SerialPort serialPort;
    device::Win32TickClock tickClock;
    AppLinkSink linkSink;
    device::SearchComPortFallback portFallback{foundPorts, StoreComSetting};
    device::CRsUtil link;
    device::Thread linkThread;

    // Keeps the PC awake while a measurement runs; told after every start and stop.
    Win32SystemAwake systemAwake;
    app::AwakeWhileMeasuring awake{systemAwake};
    app::PeakHold peaks;
    app::AnalysisState analysis;       // length N, frequency tables, transform and taper window
    app::SamplePipeline pipeline;
    std::string startupNotice;         // for the event log once the panel is up; empty: none
    // The manual and the trigger recording with their two waveform-file writers.
    files::Win32WaveFileSystem waveFileSystem;
    app::RecordingControl recorder{waveFileSystem, settings};
    // Start, stop and their guard, whether a measurement runs, and the review's base time.
    Win32SessionClock sessionClock;
    ArchiveFollower archiveFollower;
    app::MeasurementSession session{{settings, waveBuffers, peaks, recorder, awake}, *this, sessionClock,
                                    archiveFollower};

    // Channel from the receive thread to the main window, which it never waits for: the texts
    // (status and time reports, oldest first, each announced by a posted MSG_ADA8E3B9) and a port
    // it switched to (announced by kMsgPortChanged; empty: none). eventLock guards both only.
    struct LinkEvent {
        std::string text;
        int kind;  // device::kReportStatus or kReportTime
    };
    CRITICAL_SECTION eventLock;
    std::deque<LinkEvent> eventText;
    std::string comChange;
    // Stores a port change the receive thread handed over as [SPEC] COM (user-interface thread).
    void TakePortChange();

    // app::SessionLink
    bool WaitUntilIdle() override { return WaitForLinkIdle(); }
    bool ProvePort(const std::string& com, int bit) override;
    bool StartReceiving() override;
    void ReleaseReceiveThread() override;
    void DrainSamples() override { OnSampleData(); }

private:
    // Brings the running instance's main window to the front; false when none was found.
    static bool ActivateRunningInstance();
};

extern CQuorvelApp theApp;
