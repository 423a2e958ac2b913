// The numeric field's window: class registration, drawing and double-buffered painting.
#include "graphs/NumCtrl.h"

namespace {

constexpr char kClassName[] = "QuorvelNumCtrl";

}  // namespace

bool CNumCtrl::RegisterWindowClass() {
    static const bool registered = ui::RegisterPaintedControlClass<CNumCtrl>(kClassName);
    return registered;
}

CNumCtrl::~CNumCtrl() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool CNumCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id) {
    if (hwnd_ || !RegisterWindowClass()) return false;
    HWND hwnd = CreateWindowExA(exStyle, kClassName, "", style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                this);
    return hwnd != nullptr;
}

void CNumCtrl::SetBackground(COLORREF colour) {
    background_.reset(CreateSolidBrush(colour));
    brushInUse_ = background_.get();
}

void CNumCtrl::SetFont(HFONT font) { font_.reset(font); }

void CNumCtrl::SetText(const std::string& text) {
    if (!text_.Assign(text) || !hwnd_) return;
    HDC dc = GetDC(hwnd_);
    if (!dc) return;
    DrawBuffered(dc);
    ReleaseDC(hwnd_, dc);
}

void CNumCtrl::Draw(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    DrawField(dc, client, brushInUse_, font_.get(), text_.Text());
}

void CNumCtrl::DrawField(HDC dc, const RECT& rect, HBRUSH background, HFONT font, const std::string& text) {
    FillRect(dc, &rect, background ? background : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    status::ScopedSelect selected(dc, font);
    SetTextColor(dc, status::kNumTextColour);
    const UINT oldAlign = SetTextAlign(dc, TA_RIGHT);
    const status::TextAnchor at = status::NumTextAnchor(rect.left, rect.top, rect.right, rect.bottom);
    TextOutA(dc, at.x, at.y, text.data(), static_cast<int>(text.size()));
    SetTextAlign(dc, oldAlign);
}

void CNumCtrl::DrawBuffered(HDC dc) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    status::BufferedDc buffer(dc, client, buffer_);
    status::SavedDc saved(buffer.Dc());
    Draw(buffer.Dc());
}

void CNumCtrl::OnPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    DrawBuffered(dc);
    EndPaint(hwnd_, &ps);
}

