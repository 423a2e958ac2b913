// The trigger history of the running program: its worker thread, the list the window shows, the
// window itself, and what the main window and the trigger recording tell it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/HistoryWorker.h"
#include "app/TriggerHistory.h"

class CTrigHistoryDlg;

// Private: the history worker has updates or finished its work; posted to the main window,
// wParam and lParam 0.
constexpr UINT kMsgHistoryNotice = WM_APP + 0x117;

class CTrigHistory {
public:
    CTrigHistory();
    ~CTrigHistory();

    // Starts the worker and the background reading of the data folder's Trig.dt; notices go to
    // `mainWindow`.
    void Start(HWND mainWindow);
    // Closes the window and ends the worker (after the file it is reading). Before the main window
    // goes away.
    void Stop();

    // The system menu's item: shows the window (created at the first call) and reads the folder
    // again, which takes only what changed.
    void OpenWindow();
    // kMsgHistoryNotice: takes the worker's updates into the list and refreshes the window.
    void OnNotice();
    // A trigger recording ended with these files (first part first): its group is read again.
    void OnTriggerRecordingEnded(const std::vector<std::string>& paths);

    app::TriggerHistoryList& List() { return list_; }
    app::HistoryProgress Progress() const;
    // The recording's first file into the rings for review, unless a measurement runs.
    void LoadForReview(HWND owner, const app::TriggerEvent& event);
    // Asks for a file name and writes the list as CSV (UTF-8 with BOM) in its present order.
    void ExportList(HWND owner);

private:
    std::string Folder() const;

    HWND mainWindow_ = nullptr;
    std::unique_ptr<app::HistoryWorker> worker_;
    app::TriggerHistoryList list_;
    std::unique_ptr<CTrigHistoryDlg> window_;
};

extern CTrigHistory theTrigHistory;
