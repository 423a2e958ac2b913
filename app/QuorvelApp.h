// The application object: owns everything more than one window or thread shares, and runs the
// program's life from the single-instance check to saving the settings.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/AppCore.h"
#include "app/AppLink.h"
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

// The Win32 parts the core runs on, made before it and gone after it.
struct Win32AppParts {
    std::vector<std::string> foundPorts;
    // The serial link's port, clock, where its news goes, and the port search.
    device::Win32SerialPort serialPort;
    device::Win32TickClock tickClock;
    AppLinkSink linkSink;
    device::SearchComPortFallback portFallback{foundPorts, StoreComSetting};
    Win32SystemAwake systemAwake;
    files::Win32WaveFileSystem waveFileSystem;
    Win32SessionClock sessionClock;
    ArchiveFollower archiveFollower;
};

// Also the measurement session's link: the receive thread with its port, and the samples' way in.
class CQuorvelApp : public Win32AppParts, public app::SessionLink, public app::AppCore {
public:
    CQuorvelApp();
    CQuorvelApp(const CQuorvelApp&) = delete;
    CQuorvelApp& operator=(const CQuorvelApp&) = delete;

    // The whole life of the program; returns the process exit code.
    int InitInstance();

    // "<current folder>\<program base name>.ini", formed anew at every call.
    static std::string IniPath();

    // Waits, while still handling messages sent to this thread, until no receive thread runs;
    // false when one is still running after a few seconds (with untilEnded: no time limit).
    bool WaitForLinkIdle(bool untilEnded = false);

    device::Thread linkThread;  // the receive thread, gone before the link it runs on

    // app::SessionLink
    bool WaitUntilIdle() override { return WaitForLinkIdle(); }
    bool ProvePort(const std::string& com, int bit) override { return ProvePortOnce(com, bit); }
    bool StartReceiving() override;
    void ReleaseReceiveThread() override;
    void DrainSamples() override { OnSampleData(); }

private:
    // Brings the running instance's main window to the front; false when none was found.
    static bool ActivateRunningInstance();
};

extern CQuorvelApp theApp;
