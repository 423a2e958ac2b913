// CAboutDlg: the About box the main window opens from its system menu.
#pragma once

#include "resources/VersionResource.h"
#include "ui/Dialog.h"

class CAboutDlg : public ui::Dialog {
public:
    explicit CAboutDlg(HWND parent = nullptr) : ui::Dialog(IDD_ABOUTBOX, parent) {}
};
