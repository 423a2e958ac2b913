// Start-up and shutdown of the main program.
#include "app/QuorvelApp.h"

#include <commctrl.h>
#include <shlwapi.h>

#include "app/IniPath.h"
#include "app/Messages.h"
#include "app/QuorvelDlg.h"
#include "config/Win32Settings.h"
#include "seed/SeedArchive.h"
#include "ui/MessageBox.h"

CQuorvelApp theApp;

CQuorvelApp::CQuorvelApp()
    : app::AppCore({serialPort, tickClock, linkSink, &portFallback, waveFileSystem, systemAwake, *this, sessionClock,
                    archiveFollower}) {}

std::string CQuorvelApp::IniPath() {
    char module[MAX_PATH] = "";
    char current[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    GetCurrentDirectoryA(MAX_PATH, current);
    return app::MakeIniPath(current, module);
}

bool CQuorvelApp::StartReceiving() {
    link.ArmRun();
    if (linkThread.Start(device::ThreadEntry, &link, 0, 0) != 0) return true;
    link.DisarmRun();
    return false;
}

void CQuorvelApp::ReleaseReceiveThread() {
    link.RequestStop();
    // Notices already posted by the thread are handled before the thread is given up.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Sleep(10);
    linkThread.Close(0);
}

uint64_t Win32SessionClock::LocalNow() {
    FILETIME now{};
    FILETIME local{};
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    return (static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
}

bool Win32SessionClock::FolderExists(const std::string& path) { return PathIsDirectoryA(path.c_str()) != FALSE; }

void ArchiveFollower::OnMeasurementStart() { theSeedArchive.OnMeasurementStart(); }
void ArchiveFollower::OnMeasurementStop() { theSeedArchive.OnMeasurementStop(); }

bool CQuorvelApp::WaitForLinkIdle(bool untilEnded) {
    return app::AppCore::WaitForLinkIdle(untilEnded, [] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    });
}

namespace {

BOOL CALLBACK ActivateIfOurs(HWND hwnd, LPARAM found) {
    if (!GetPropA(hwnd, kInstanceName)) return TRUE;
    if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
    SetForegroundWindow(hwnd);
    if (HWND popup = GetLastActivePopup(hwnd)) SetForegroundWindow(popup);
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

}  // namespace

bool CQuorvelApp::ActivateRunningInstance() {
    bool found = false;
    EnumWindows(ActivateIfOurs, reinterpret_cast<LPARAM>(&found));
    return found;
}

int CQuorvelApp::InitInstance() {
    // The handle stays open for the life of the process: it is what marks this instance as running.
    CreateMutexA(nullptr, TRUE, kInstanceName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        ActivateRunningInstance();
        ui::ShowMessage(nullptr, "既に起動されています。", MB_OK);
        return 0;
    }

    INITCOMMONCONTROLSEX icc{8, 0xFF};
    InitCommonControlsEx(&icc);

    ExchangeSettings(settings, settingWindowType, 0, IniPath());
    theSeedArchive.Attach(settings, recorder.hooks, session.RunningFlag());
    theSeedArchive.LoadSettings(IniPath());
    SetUpFromSettings();

    // A window handler that throws is caught by the dialog layer and logged as an event.
    ui::SetErrorReport([](const char* text) { theApp.session.Log(text); });
    {
        CQuorvelDlg dialog;
        dialog.DoModal();
    }
    ui::SetErrorReport(nullptr);
    // A receive thread given up at the window's end finishes its last read (a port search it
    // runs ends at once) before the settings it may write are saved and the link it uses goes
    // away with the process. Only a "no usable port" box still open on it holds the exit.
    link.RequestStop();
    WaitForLinkIdle(true);
    awake.Follow(false);

    // The current folder may have changed while the program ran: the path is formed again.
    ExchangeSettings(settings, settingWindowType, 1, IniPath());
    theSeedArchive.SaveSettings(IniPath());
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return theApp.InitInstance();
}
