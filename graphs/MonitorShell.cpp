// Helpers shared by the time and PSD monitors.
#include "graphs/MonitorShell.h"

#include "analysis/AnalysisFromSettings.h"

bool CMonitorPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        if (relayoutPending_) {
            Layout();
            relayoutPending_ = false;
        }
        RECT client{};
        GetClientRect(Handle(), &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        PaintOver(dc);
        EndPaint(Handle(), &ps);
        result = 0;
        return true;
    }
    case WM_ERASEBKGND:
        result = TRUE;
        return true;
    case WM_SIZE:
        if (initialised_) {
            relayoutPending_ = true;
            InvalidateRect(Handle(), nullptr, TRUE);
        }
        return false;
    default:
        return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

void CMonitorPane::SetLabel(int id, const std::string& text) {
    if (ItemText(id) != text) SetItemText(id, text);
}

int CMonitorPane::TrackMenu(HMENU menu) {
    SetForegroundWindow(Handle());
    SendMessageA(Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    POINT at{};
    GetCursorPos(&at);
    const int command =
        static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, Handle(), nullptr));
    DestroyMenu(menu);
    return command;
}

namespace monitor {

void MoveControl(HWND control, int x, int y) {
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT ScaledFont(HFONT base, double factor, int weight) {
    LOGFONTA lf{};
    GetObjectA(base, sizeof lf, &lf);
    lf.lfHeight = static_cast<LONG>(lf.lfHeight * factor);
    lf.lfWidth = 0;
    if (weight >= 0) lf.lfWeight = weight;
    return CreateFontIndirectA(&lf);
}

double DisplayTime(const Settings& settings) { return app::AnalysisSettingsFrom(settings).displayTime; }

}  // namespace monitor
