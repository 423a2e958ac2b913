// Starting and stopping a measurement, the one-second status update and the event log.
#include "app/BtnDialog.h"

#include <shlwapi.h>

#include "app/EventLog.h"
#include "app/MeasurementRules.h"
#include "app/QuorvelApp.h"
#include "app/QuorvelDlg.h"
#include "device/Win32SerialPort.h"
#include "graphs/GraphMoniDialog.h"
#include "graphs/PsdMoniDialog.h"
#include "graphs/Indicator.h"
#include "seed/SeedArchive.h"
#include "ui/MessageBox.h"

void CBtnDialog::ToggleMeasurement() {
    // The port search's modal loop and the stop's message pump dispatch panel clicks and the
    // registered toggle message: a request that arrives while one is in progress is ignored.
    if (toggling_) return;
    toggling_ = true;
    try {
        if (theApp.running) StopMeasurement();
        else StartMeasurement();
    } catch (...) {
        toggling_ = false;
        throw;
    }
    toggling_ = false;
}

void CBtnDialog::StartMeasurement() {
    // The port search and the messages below run message loops: until this start has ended or
    // failed, the imports, the history's load and the settings are refused as while measuring.
    struct Starting {
        CBtnDialog& panel;
        ~Starting() {
            theApp.starting = false;
            theApp.awake.Follow(theApp.running != 0);
            if (!theApp.running) panel.SetIdleButtons(true);
        }
    } starting{*this};
    theApp.starting = true;
    if (!PathIsDirectoryA(theApp.settings.saveDirectory.c_str())) {
        ui::ShowMessage(Handle(), "データ保存フォルダが存在しません。\n設定画面で設定してください。", MB_OK);
        return;
    }
    for (int id : {IDC_SETTINGS, IDC_LOAD_SD, IDC_LOAD_DATA}) EnableItem(id, false);
    // A receive thread given up by the last stop may still be finishing its last read.
    if (!theApp.WaitForLinkIdle()) {
        SetStatus(0, app::kStatusOpenError);
        return;
    }

    ResetRingsAndMonitors();

    theApp.link.SetLineConfig(theApp.settings.com, theApp.settings.bit);
    if (!theApp.link.OpenPort(true)) {
        SetStatus(0, app::kStatusOpenError);
        return;
    }
    // Opening once proves the port usable; the receive thread opens it itself.
    theApp.link.ClosePort();

    theApp.link.ArmRun();
    if (theApp.linkThread.Start(device::ThreadEntry, &theApp.link, 0, 0) == 0) {
        theApp.link.DisarmRun();
        SetStatus(0, app::kStatusOpenError);
        return;
    }

    theApp.running = 1;
    SetIdleButtons(false);
    AddLog("RCV-START", 0);
    theApp.recorder.OnMeasurementStart();
    theSeedArchive.OnMeasurementStart();
    if (mainWindow) mainWindow->RestoreTitle();
    ShowStartStopPicture();
}

void CBtnDialog::ResetRingsAndMonitors() {
    const int capacity = app::RingCapacity(theApp.settings);
    const int got = app::ResetRings(theApp.waveBuffers, capacity);
    theApp.ringsHoldFile = false;
    if (got < capacity) AddLog(app::RingShortfallText(got), 0);
    for (int axis = 0; axis < 3; ++axis) theApp.peakMin[axis] = theApp.peakMax[axis] = 0.0;
    if (mainWindow && mainWindow->WaveMonitor()) {
        mainWindow->WaveMonitor()->ResetForMeasurement();
        mainWindow->WaveMonitor()->LeaveReview();
    }
    if (mainWindow && mainWindow->PsdMonitor()) mainWindow->PsdMonitor()->ResetForMeasurement();
}

void CBtnDialog::ReleaseReceiveThread() {
    theApp.link.RequestStop();
    // Notices already posted by the thread are handled before the thread is given up.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Sleep(10);
    theApp.linkThread.Close(0);
}

void CBtnDialog::StopMeasurement() {
    ReleaseReceiveThread();
    theApp.OnSampleData();  // the samples still queued

    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &theApp.reviewBaseTime);
    // Review position 0 is the oldest held sample, not the stop: its time is that many 10 ms earlier.
    ULARGE_INTEGER base;
    base.LowPart = theApp.reviewBaseTime.dwLowDateTime;
    base.HighPart = theApp.reviewBaseTime.dwHighDateTime;
    base.QuadPart -= static_cast<ULONGLONG>(theApp.waveBuffers[0].heldCount) * 100000ULL;
    theApp.reviewBaseTime.dwLowDateTime = base.LowPart;
    theApp.reviewBaseTime.dwHighDateTime = base.HighPart;

    theApp.running = 0;
    theApp.awake.Follow(false);
    SetIdleButtons(true);
    theApp.recorder.OnMeasurementStop();  // TRIG-END, then SAVE-END
    theSeedArchive.OnMeasurementStop();   // the archive's last records
    AddLog("RCV-END", 0);
    SetStatus(4, app::kStatusIdle);
    if (mainWindow && mainWindow->WaveMonitor()) {
        CGraphMoniDialog* monitor = mainWindow->WaveMonitor();
        for (int axis = 0; axis < 3; ++axis) monitor->SetTriggerMarker(axis, false);
        monitor->EnterReview();
    }
    ShowStartStopPicture();
}

void CBtnDialog::OnTimer() {
    if (!theApp.running) return;
    const app::LinkStatus status = app::StatusForLinkState(theApp.link.linkState.load());
    SetItemText(IDC_STATUS_TEXT, status.text);
    comLamp_->SetState(status.lamp);  // repaints only when the state changes
}

namespace {

// The panel's list box as the event log sees it.
class ListBoxLog : public app::LogList {
public:
    explicit ListBoxLog(HWND list) : list_(list) {}
    void Append(const std::string& row) override {
        SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    int Count() const override { return static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0)); }
    void DeleteFirst() override { SendMessageA(list_, LB_DELETESTRING, 0, 0); }
    void SelectLast() override { SendMessageA(list_, LB_SETCURSEL, Count() - 1, 0); }

private:
    HWND list_;
};

app::LocalTime Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace

void CBtnDialog::AddLog(const std::string& text, int pcClock) {
    ListBoxLog list(Item(IDC_LOG_LIST));
    app::AddLog(list, theApp.settings.logList != 0, text, pcClock, Now());
}
