// The modeless "トリガ履歴" window: the trigger recordings in a sortable report list, the progress of
// the background reading, loading a recording for review and the CSV export.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/Dialog.h"

class CTrigHistory;

class CTrigHistoryDlg : public ui::Dialog {
public:
    explicit CTrigHistoryDlg(CTrigHistory& history);

    // Notes which recording is selected, before the list's rows change.
    void RememberSelection();
    // Shows the list's rows, the sort mark and the progress anew; the recording selected at the
    // last RememberSelection stays selected wherever it moved.
    void Refresh();

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOK() override;      // Enter in the list: load the selected recording
    void OnCancel() override;  // Escape, "閉じる", the close box: the window goes, the history stays
    void OnNcDestroy() override;

private:
    struct Anchor {
        int id;
        RECT rect;    // in the client area at initialisation
        bool right;   // follows the right edge (moves, or grows when `grow`)
        bool bottom;  // follows the bottom edge
        bool grow;    // the list: grows instead of moving
    };

    LRESULT OnNotify(const NMHDR* header);
    void OnGetDispInfo(NMLVDISPINFOA* info);
    void OnColumnClick(int column);
    void OnSize(int width, int height);
    void OnGetMinMaxInfo(MINMAXINFO* info) const;
    void LoadRow(int row);
    void ShowColumnCaptions();
    void FitListWidth(int listWidth);
    int SelectedRow() const;

    CTrigHistory& history_;
    HWND list_ = nullptr;
    std::vector<Anchor> anchors_;
    SIZE initialClient_{0, 0};
    SIZE minTrack_{0, 0};
    std::string cell_;  // text handed to the list for one cell; valid until the next request
    bool keepSelection_ = false;  // the selected recording to find again by its first file
    std::string keepGroup_;
};
