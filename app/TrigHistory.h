// The trigger history of the running program on Win32 (app::HistoryKeeper with its window): the
// notices posted to the main window, the window, loading a recording for review and the export's
// file dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/TrigHistoryDlg.h"
#include "history/HistoryKeeper.h"

// Private: the history worker has updates or finished its work; posted to the main window,
// wParam and lParam 0.
constexpr UINT kMsgHistoryNotice = WM_APP + 0x117;

class CTrigHistory : public HistoryWindowOwner {
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
    void OnNotice() { keeper_.OnNotice(window_.get()); }
    // A trigger recording ended with these files (first part first): its group is read again.
    void OnTriggerRecordingEnded(const std::vector<std::string>& paths) { keeper_.OnTriggerRecordingEnded(paths); }

    // HistoryWindowOwner
    app::TriggerHistoryList& List() override { return keeper_.List(); }
    app::HistoryProgress Progress() const override { return keeper_.Progress(); }
    void LoadForReview(HWND owner, const app::TriggerEvent& event) override;
    void ExportList(HWND owner) override;

private:
    HWND mainWindow_ = nullptr;
    app::HistoryKeeper keeper_;
    std::unique_ptr<CTrigHistoryDlg> window_;
};

extern CTrigHistory theTrigHistory;
