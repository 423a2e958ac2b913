// Start-up and shutdown of the main program.
#include "app/QuorvelApp.h"

#include <commctrl.h>

#include "app/AnalysisFromSettings.h"
#include "app/IniPath.h"
#include "app/Messages.h"
#include "app/QuorvelDlg.h"
#include "config/Win32Settings.h"
#include "ui/MessageBox.h"

CQuorvelApp theApp;

CQuorvelApp::CQuorvelApp() { InitializeCriticalSection(&eventLock); }

CQuorvelApp::~CQuorvelApp() { DeleteCriticalSection(&eventLock); }

std::string CQuorvelApp::IniPath() {
    char module[MAX_PATH] = "";
    char current[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    GetCurrentDirectoryA(MAX_PATH, current);
    return app::MakeIniPath(current, module);
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
    for (int axis = 0; axis < 3; ++axis) peakMin[axis] = peakMax[axis] = 0.0;
    app::SetupAnalysis(analysis, app::AnalysisSettingsFrom(settings));
    // A measurement start sizes the rings again by its own rule.
    for (WaveBuffer& ring : waveBuffers) ring.Reset(settings.ringBufMinSize);

    {
        CQuorvelDlg dialog;
        dialog.DoModal();
    }

    // The current folder may have changed while the program ran: the path is formed again.
    ExchangeSettings(settings, settingWindowType, 1, IniPath());
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return theApp.InitInstance();
}
