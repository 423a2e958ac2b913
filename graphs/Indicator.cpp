// The status lamp's window: class registration, double-buffered painting and the state setter.
#include "graphs/Indicator.h"

#include "graphs/StatusBrushes.h"

namespace {

constexpr char kClassName[] = "QuorvelIndicator";

}  // namespace

bool CIndicator::RegisterWindowClass() {
    static const bool registered = ui::RegisterPaintedControlClass<CIndicator>(kClassName);
    return registered;
}

CIndicator::~CIndicator() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool CIndicator::Create(HWND parent, const RECT& rect, int id, DWORD style) {
    if (hwnd_ || !RegisterWindowClass()) return false;
    HWND hwnd = CreateWindowExA(0, kClassName, "", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                this);
    return hwnd != nullptr;
}

void CIndicator::SetState(int state) {
    if (state == state_) return;
    state_ = state;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CIndicator::PaintLamp(HDC dc, const RECT& rect, int state) {
    status::ScopedSelect brush(dc, status::LampBrush(state));
    Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void CIndicator::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    RECT client{};
    GetClientRect(hwnd_, &client);
    {
        status::BufferedDc buffer(dc, client, buffer_);
        // The corners outside the lamp show what the parent paints behind a static control.
        HBRUSH back = reinterpret_cast<HBRUSH>(
            SendMessageA(GetParent(hwnd_), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(buffer.Dc()),
                         reinterpret_cast<LPARAM>(hwnd_)));
        FillRect(buffer.Dc(), &client, back ? back : GetSysColorBrush(COLOR_BTNFACE));
        PaintLamp(buffer.Dc(), client, state_);
    }
    EndPaint(hwnd_, &ps);
}

