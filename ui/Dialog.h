// A dialog object over a dialog template: modal or modeless, with message dispatch to virtual
// On... handlers. The object pointer travels in the creation parameter and lives in DWLP_USER.
#pragma once

#include <windows.h>

#include <string>

#include "ui/DialogItems.h"
#include "ui/WindowLayout.h"

namespace ui {

// Where a dialog reports that one of its handlers threw (the message then counts as unhandled and
// the dialog goes on). The program points it at its event log; by default, and whatever the
// program's report does, the text goes to the debugger's log (OutputDebugStringA).
using ErrorReport = void (*)(const char* text);
void SetErrorReport(ErrorReport report);

inline Rect FromRECT(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToRECT(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

static_assert(kOkId == IDOK && kCancelId == IDCANCEL, "the platform's button ids");

class Dialog : public DialogItems {
public:
    Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns the code given to EndDialog, or -1 if it could not be created.
    INT_PTR DoModal();
    // Creates the dialog modelessly (a child when its template says so); false on failure.
    bool Create(HWND parent);
    void Destroy();

    HWND Handle() const { return hwnd_; }
    int TemplateId() const { return templateId_; }

    // Control helpers.
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    void SetItemText(int id, const std::string& text) const override { SetDlgItemTextA(hwnd_, id, text.c_str()); }
    std::string ItemText(int id) const override { return WindowText(Item(id)); }
    static std::string WindowText(HWND window);
    void EnableItem(int id, bool enable) const override { EnableWindow(Item(id), enable ? TRUE : FALSE); }
    void ShowItem(int id, bool show) const override { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
    void CheckItem(int id, bool checked) const override {
        CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    bool IsItemChecked(int id) const override { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    // Drop-down lists (combo boxes).
    void SelectEntry(int id, int index) const override {
        SendDlgItemMessageA(hwnd_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int SelectedEntry(int id) const override {
        return static_cast<int>(SendDlgItemMessageA(hwnd_, id, CB_GETCURSEL, 0, 0));
    }
    RECT ItemRectInClient(int id) const;

protected:
    // Called for every message; return true with `result` set when handled. The default forwards
    // WM_INITDIALOG, WM_COMMAND and WM_NCDESTROY to the handlers below.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Returns TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnCommand(int id, int code, HWND control);
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Last message the window receives; the object may be deleted by its owner afterwards.
    virtual void OnNcDestroy() {}

    void EndDialog(INT_PTR code);
    // For handlers that must reach the dialog procedure's default processing.
    static LRESULT SetResult(HWND hwnd, LRESULT value);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
};

}  // namespace ui
