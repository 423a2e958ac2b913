// Window procedure of a self-painted control whose object travels in lpCreateParams: the object
// is stored in GWLP_USERDATA at WM_NCCREATE, paints itself, never erases its background (it paints
// every pixel, double-buffered) and forgets its window at WM_NCDESTROY.
#pragma once

#include <windows.h>

namespace ui {

// T needs `HWND hwnd_` and `void OnPaint()`, reachable from this function (e.g. as a friend).
template <class T>
LRESULT CALLBACK PaintedControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self) {
        switch (message) {
        case WM_PAINT:
            self->OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return TRUE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            break;
        default:
            break;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Registers the window class of such a control once per class name; true when it is registered.
template <class T>
bool RegisterPaintedControlClass(const char* className) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &PaintedControlProc<T>;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = nullptr;  // the paint covers every pixel; erasing would only flicker
    wc.lpszClassName = className;
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace ui
