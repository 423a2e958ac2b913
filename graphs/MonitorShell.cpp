// Helpers shared by the time and PSD monitors.
#include "graphs/MonitorShell.h"

#include "resources/resource.h"

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

CMonitorPane::~CMonitorPane() {
    // The graphs go before the dialog window that holds them.
    for (auto& g : graphs_) g.reset();
}

void CMonitorPane::CreateGraphs(int frameId, graphs::GraphKind kind) {
    for (int i = 0; i < 3; ++i) {
        graphs_[i] = std::make_unique<CGraphCtrl>(model_.Graphs());
        graphs_[i]->Create(Rect(frameId + i), Handle(), IDC_GRAPH + i, kind, i);
        ShowWindow(graphs_[i]->Handle(), SW_SHOW);
    }
}

void CMonitorPane::ApplyGraphSettings() {
    for (int i = 0; i < 3; ++i) {
        graphs_[i]->ApplyAxisSettings();
        graphs_[i]->UpdateScale();
        graphs_[i]->ApplyColors();
        Rows().RefreshRow(i, true);
    }
}

monitor::Size CMonitorPane::SizeOf(int id) const {
    const RECT r = Rect(id);
    return {r.right - r.left, r.bottom - r.top};
}

monitor::Size CMonitorPane::ClientSize() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return {client.right, client.bottom};
}

void CMonitorPane::Move(HWND control, monitor::Point at) { monitor::MoveControl(control, at.x, at.y); }

void CMonitorPane::Place(int id, const monitor::Box& b) { MoveWindow(Item(id), b.x, b.y, b.w, b.h, TRUE); }

void CMonitorPane::PlaceGraph(int axis, const monitor::Box& b) {
    MoveWindow(graphs_[axis]->Handle(), b.x, b.y, b.w, b.h, TRUE);
}

void CMonitorPane::RepaintGraph(int axis) { graphs_[axis]->Core().RequestFullRepaint(); }

void CMonitorPane::UpdateGraph(int axis) { UpdateWindow(graphs_[axis]->Handle()); }

int CMonitorPane::TrackMenu(const std::vector<monitor::MenuItem>& items) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    for (const monitor::MenuItem& item : items) {
        if (item.command == 0) AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu, MF_STRING | (item.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(item.command),
                        item.text.c_str());
    }
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

}  // namespace monitor
