// Dialog object plumbing: template creation, the shared dialog procedure and control helpers.
#include "ui/Dialog.h"

#include <vector>

namespace ui {

namespace {

ErrorReport errorReport = nullptr;

// A handler threw: the exception stops here, never crossing the window procedure.
void ReportHandlerError() {
    OutputDebugStringA("UI-ERR: a dialog handler threw\n");
    try {
        if (errorReport) errorReport("UI-ERR");
    } catch (...) {
    }
}

}  // namespace

void SetErrorReport(ErrorReport report) { errorReport = report; }

Dialog::~Dialog() {
    if (hwnd_ && !modal_) {
        SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR Dialog::DoModal() {
    modal_ = true;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent_, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::Create(HWND parent) {
    modal_ = false;
    parent_ = parent;
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void Dialog::EndDialog(INT_PTR code) {
    if (modal_) ::EndDialog(hwnd_, code);
    else DestroyWindow(hwnd_);
}

std::string Dialog::WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(length + 1, '\0');
    GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data());
}

RECT Dialog::ItemRectInClient(int id) const {
    RECT r{};
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Dialog::OnCommand(int id, int code, HWND) {
    if (code != BN_CLICKED && code != 0) return;
    if (id == IDOK) OnOK();
    else if (id == IDCANCEL) OnCancel();
}

bool Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        result = OnInitDialog();
        return true;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT Dialog::SetResult(HWND hwnd, LRESULT value) {
    SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, value);
    return TRUE;
}

INT_PTR CALLBACK Dialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        // The owner may delete the object right after this: it must be detached however
        // OnNcDestroy ends.
        try {
            self->OnNcDestroy();
        } catch (...) {
            ReportHandlerError();
        }
        self->hwnd_ = nullptr;
        return FALSE;
    }

    LRESULT result = 0;
    bool handled = false;
    try {
        handled = self->HandleMessage(message, wParam, lParam, result);
    } catch (...) {
        // No exception may cross the window procedure; the message counts as unhandled.
        handled = false;
        ReportHandlerError();
    }
    if (!handled) return FALSE;
    switch (message) {
    // These return their value directly instead of through DWLP_MSGRESULT.
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return static_cast<INT_PTR>(result);
    default:
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    }
}

}  // namespace ui
