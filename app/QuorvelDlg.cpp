// Main window: icon, system menu, placement, the instance property and the registered messages.
#include "app/QuorvelDlg.h"

#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "ui/MessageBox.h"

BOOL CQuorvelDlg::OnInitDialog() {
    HWND hwnd = Handle();
    char about[256] = "";
    LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, about, sizeof about);
    if (about[0]) {
        HMENU menu = GetSystemMenu(hwnd, FALSE);
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, about);
    }

    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUORVEL));
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));

    RECT client{};
    GetClientRect(hwnd, &client);
    minClient_ = {client.right, client.bottom};

    theApp.settings.mainPlacement.Restore(hwnd, false);

    SetWindowTextA(hwnd, theApp.settings.title.c_str());
    SetPropA(hwnd, kInstanceName, reinterpret_cast<HANDLE>(1));
    initialised_ = true;
    return TRUE;
}

bool CQuorvelDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_SYSCOMMAND:
        result = 0;
        return OnSysCommand(static_cast<UINT>(wParam));
    case WM_CLOSE:
        result = 0;
        return OnClose();
    case WM_PAINT:
        if (!IsIconic(Handle())) return false;
        OnPaint();
        result = 0;
        return true;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(icon_);
        return true;
    case WM_GETMINMAXINFO:
        if (initialised_) {
            RECT frame{0, 0, minClient_.cx, minClient_.cy};
            AdjustWindowRectEx(&frame, GetWindowLongA(Handle(), GWL_STYLE), FALSE, GetWindowLongA(Handle(), GWL_EXSTYLE));
            MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize.x = frame.right - frame.left;
            info->ptMinTrackSize.y = frame.bottom - frame.top;
        }
        return false;
    default:
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

bool CQuorvelDlg::OnSysCommand(UINT command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
    return true;
}

void CQuorvelDlg::OnCancel() {
    OnClose();  // Escape follows the same rule as closing the window
}

bool CQuorvelDlg::OnClose() {
    if (theApp.running) {
        ui::ShowMessage(Handle(), "計測実行中はウィンドウを閉じることはできません。", MB_OK);
        return true;
    }
    EndDialog(IDCANCEL);
    return true;
}

void CQuorvelDlg::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client{};
    GetClientRect(Handle(), &client);
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, icon_);
    EndPaint(Handle(), &ps);
}

void CQuorvelDlg::OnNcDestroy() {
    theApp.settings.mainPlacement.Capture(Handle());
}
