// The graph control's window: class, messages, notifications and the double-buffered paint.
#include "graphs/GraphCtrl.h"

#include "graphs/GraphMessages.h"


namespace {

constexpr char kClassName[] = "QuorvelGraph";

}  // namespace

CGraphCtrl::CGraphCtrl(const graphs::GraphContext& context) : context_(context), core_(context_, *this) {}

CGraphCtrl::~CGraphCtrl() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

bool CGraphCtrl::RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &CGraphCtrl::WindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        wc.lpszClassName = kClassName;
        return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

bool CGraphCtrl::Create(const RECT& rect, HWND parent, int id, graphs::GraphKind kind, int axis) {
    if (hwnd_ || !RegisterWindowClass()) return false;
    core_.Bind(kind, axis);
    ApplyColors();
    HWND hwnd = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_BORDER, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), this);
    return hwnd != nullptr;
}

void CGraphCtrl::ApplyColors() {
    pens_.Build(*context_.settings, core_.Kind(), core_.Axis());
    core_.RequestFullRepaint();
}

LRESULT CALLBACK CGraphCtrl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<CGraphCtrl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<CGraphCtrl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may leave a window procedure; the message gets default processing.
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT CGraphCtrl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_SIZE: {
        const LRESULT r = DefWindowProcA(hwnd_, message, wParam, lParam);
        OnSize();
        return r;
    }
    case WM_RBUTTONDOWN: OnRButtonDown(); return 0;
    case WM_NCDESTROY: {
        HWND hwnd = hwnd_;
        OnNcDestroy();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    default: return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

void CGraphCtrl::OnPaint() {
    PAINTSTRUCT ps;
    pending_.Painted();
    HDC dc = BeginPaint(hwnd_, &ps);
    core_.BeginPaint();
    if (core_.PaintWanted()) {
        RECT clip{};
        GetClipBox(dc, &clip);
        graphs::PaintGraphClip(dc, clip, core_, pens_, buffer_);
    }
    core_.EndPaint();
    EndPaint(hwnd_, &ps);
}

void CGraphCtrl::OnSize() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    core_.OnSize({client.left, client.top, client.right, client.bottom});
}

void CGraphCtrl::OnRButtonDown() {
    SendMessageA(GetParent(hwnd_), MSG_60DE7150, static_cast<WPARAM>(core_.Axis()), 0);
}

void CGraphCtrl::OnNcDestroy() {
    // The transform and work vectors go with the graphs at the program's end.
    if (context_.analysis) app::ReleaseAnalysis(*context_.analysis);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    hwnd_ = nullptr;
}

// What a batch changes is drawn through GetDC at its UpdateNow (graphs/PendingPaint), whoever
// called the graph's AppendSamples.
void CGraphCtrl::Invalidate(const graphs::PixelRect* rect) {
    if (!hwnd_) return;
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (pending_.Invalidate(rect, core_.Appending(), {client.left, client.top, client.right, client.bottom}))
        InvalidateRect(hwnd_, nullptr, TRUE);
}

void CGraphCtrl::UpdateNow() {
    if (!hwnd_) return;
    switch (pending_.Take()) {
    case graphs::PendingPaint::Action::UpdateWindow: UpdateWindow(hwnd_); break;
    case graphs::PendingPaint::Action::DrawBand: PaintBandNow(); break;
    case graphs::PendingPaint::Action::Nothing: break;
    }
}

void CGraphCtrl::PaintBandNow() {
    const graphs::PixelRect& b = pending_.Band();
    const RECT band{b.left, b.top, b.right, b.bottom};
    HDC dc = GetDC(hwnd_);
    if (!dc) {  // no DC to spare: the ordinary way
        InvalidateRect(hwnd_, &band, TRUE);
        UpdateWindow(hwnd_);
        return;
    }
    RECT visible{}, clip{};
    core_.BeginPaint();  // a full repaint asked for while appending is this paint
    // A covered or minimised window has little or nothing visible: only that part is drawn.
    if (GetClipBox(dc, &visible) != NULLREGION && IntersectRect(&clip, &band, &visible) && core_.PaintWanted())
        graphs::PaintGraphClip(dc, clip, core_, pens_, buffer_);
    core_.EndPaint();
    ReleaseDC(hwnd_, dc);
}

void CGraphCtrl::Notify(graphs::GraphNotice notice) {
    if (!hwnd_) return;
    UINT message = MSG_60DE7150;
    if (notice == graphs::GraphNotice::YRangeChanged) message = MSG_3563518B;
    else if (notice == graphs::GraphNotice::XRangeChanged) message = MSG_3A95FBE5;
    SendMessageA(GetParent(hwnd_), message, static_cast<WPARAM>(core_.Axis()), 0);
}
