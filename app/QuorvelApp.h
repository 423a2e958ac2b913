// The application object: owns everything more than one window or thread shares, and runs the
// program's life from the single-instance check to saving the settings.
#pragma once

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "app/Analysis.h"
#include "app/AppLink.h"
#include "app/RecordingControl.h"
#include "app/SamplePipeline.h"
#include "app/StayAwake.h"
#include "app/WaveBuffer.h"
#include "config/Settings.h"
#include "device/RsUtil.h"
#include "device/SearchComPortFallback.h"
#include "device/Thread.h"
#include "device/Win32SerialPort.h"
#include "files/Win32WaveFileSystem.h"

// The system stays awake through SetThreadExecutionState; every call comes from the user-interface
// thread, whose request it is.
class Win32SystemAwake : public app::SystemAwake {
public:
    void Hold() override { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }
    void Release() override { SetThreadExecutionState(ES_CONTINUOUS); }
};

class CQuorvelApp {
public:
    CQuorvelApp();
    ~CQuorvelApp();
    CQuorvelApp(const CQuorvelApp&) = delete;
    CQuorvelApp& operator=(const CQuorvelApp&) = delete;

    // The whole life of the program; returns the process exit code.
    int InitInstance();

    // "<current folder>\<program base name>.ini", formed anew at every call.
    static std::string IniPath();

    // Takes the samples the receive thread queued (the data notice, and once at a stop).
    void OnSampleData();
    // Waits, while still handling messages sent to this thread, until no receive thread runs;
    // false when one is still running after a few seconds (with untilEnded: no time limit).
    bool WaitForLinkIdle(bool untilEnded = false);

    Settings settings;
    int settingWindowType = 1;         // [SPEC] SETTING_WINDOW_TYPE: 1 detailed, 0 simple settings form
    std::vector<std::string> foundPorts;
    WaveBuffer waveBuffers[3];         // X, Y, Z
    bool ringsHoldFile = false;        // the rings hold an imported file (not a measurement's samples)

    // The serial link: port, clock, where its news goes, and the receive thread.
    device::Win32SerialPort serialPort;
    device::Win32TickClock tickClock;
    AppLinkSink linkSink;
    device::SearchComPortFallback portFallback{foundPorts, StoreComSetting};
    device::CRsUtil link;
    device::Thread linkThread;

    int running = 0;
    // A start is under way (its port search or a message of its may be up): loads into the rings
    // and the settings are refused from here on, as while measuring.
    bool starting = false;
    bool MeasurementBusy() const { return running != 0 || starting; }
    // Keeps the PC awake while `running`; told after every start and stop.
    Win32SystemAwake systemAwake;
    app::AwakeWhileMeasuring awake{systemAwake};
    double peakMin[3] = {0.0, 0.0, 0.0};
    double peakMax[3] = {0.0, 0.0, 0.0};
    app::AnalysisState analysis;       // length N, frequency tables, transform and taper window
    FILETIME reviewBaseTime{0, 0};     // local time of review position 0; 0 = no time known
    app::SamplePipeline pipeline;
    std::string startupNotice;         // for the event log once the panel is up; empty: none
    // The manual and the trigger recording with their two waveform-file writers.
    files::Win32WaveFileSystem waveFileSystem;
    app::RecordingControl recorder{waveFileSystem, settings};

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

private:
    // Brings the running instance's main window to the front; false when none was found.
    static bool ActivateRunningInstance();
};

extern CQuorvelApp theApp;
