// The modeless "トリガ履歴" window: the trigger recordings in a sortable report list, the progress of
// the background reading, loading a recording for review and the CSV export.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "history/HistoryKeeper.h"
#include "history/HistoryWindowText.h"
#include "ui/Dialog.h"

// What the window asks of the history it shows (the program's trigger history, CTrigHistory).
class HistoryWindowOwner {
public:
    virtual ~HistoryWindowOwner() = default;
    virtual app::TriggerHistoryList& List() = 0;
    virtual app::HistoryProgress Progress() const = 0;
    // The recording's first file into the rings for review, unless a measurement runs.
    virtual void LoadForReview(HWND owner, const app::TriggerEvent& event) = 0;
    // Asks for a file name and writes the list as CSV (UTF-8 with BOM) in its present order.
    virtual void ExportList(HWND owner) = 0;
};

class CTrigHistoryDlg : public ui::Dialog, public app::HistoryView {
public:
    explicit CTrigHistoryDlg(HistoryWindowOwner& history);

    // Notes which recording is selected, before the list's rows change.
    void RememberSelection() override;
    // Shows the list's rows, the sort mark and the progress anew; the recording selected at the
    // last RememberSelection stays selected wherever it moved.
    void Refresh() override;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override;      // Enter in the list: load the selected recording
    void OnCancel() override;  // Escape, "閉じる", the close box: the window goes, the history stays
    void OnNcDestroy() override;

private:
    LRESULT OnNotify(const NMHDR* header);
    void OnGetDispInfo(NMLVDISPINFOA* info);
    void OnSize(int width, int height);
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    void LoadRow(int row);
    void ShowColumnCaptions();
    void FitListWidth(int listWidth);
    int SelectedRow() const;

    HistoryWindowOwner& history_;
    HWND list_ = nullptr;
    std::vector<ui::Anchor> anchors_;  // in the client area at initialisation
    SIZE initialClient_{0, 0};
    SIZE minTrack_{0, 0};
    std::string cell_;  // text handed to the list for one cell; valid until the next request
    app::HistorySelection selection_;
};
