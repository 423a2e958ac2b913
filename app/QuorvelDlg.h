// The main window: the program's only top-level window, run modally by the application object.
#pragma once

#include "resources/resource.h"
#include "ui/Dialog.h"

class CQuorvelDlg : public ui::Dialog {
public:
    CQuorvelDlg() : ui::Dialog(IDD_QUORVEL_DIALOG, nullptr) {}

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}  // Enter does not close the main window
    void OnCancel() override;
    void OnNcDestroy() override;

private:
    bool OnSysCommand(UINT command);
    bool OnClose();
    void OnPaint();

    HICON icon_ = nullptr;
    SIZE minClient_{0, 0};
    bool initialised_ = false;
};
