// Lookups that uiauto's command files share.
#include "Controls.h"

namespace {

struct ControlQuery {
    int id;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK FindControlProc(HWND hwnd, LPARAM param) {
    ControlQuery* q = reinterpret_cast<ControlQuery*>(param);
    if (GetDlgCtrlID(hwnd) != q->id) return TRUE;
    if (q->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
    q->found = hwnd;
    return FALSE;
}

}  // namespace

// The control with `id` among the window's children, or else among all its descendants (the
// controls of a child dialog, such as the main window's control panel); a visible one first,
// since panes may reuse an id of a hidden placeholder.
HWND FindControl(HWND parent, int id) {
    if (HWND direct = GetDlgItem(parent, id)) return direct;
    for (bool visibleOnly : {true, false}) {
        ControlQuery q{id, visibleOnly, nullptr};
        EnumChildWindows(parent, FindControlProc, reinterpret_cast<LPARAM>(&q));
        if (q.found) return q.found;
    }
    return nullptr;
}

std::string WideToUtf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], n, nullptr, nullptr);
    utf8.resize(n > 0 ? n - 1 : 0);
    return utf8;
}
