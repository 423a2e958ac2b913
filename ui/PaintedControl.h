// Window procedure of a self-painted control whose object travels in lpCreateParams: the object
// is stored in GWLP_USERDATA at WM_NCCREATE, paints itself, never erases its background (it paints
// every pixel, double-buffered) and forgets its window at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <type_traits>
#include <utility>

namespace ui {

// Answers WM_GETTEXT and WM_GETTEXTLENGTH from the object's text when T has `Text()`, so other
// programs (tests, screen readers) read what the control shows without a window text kept in step.
template <class T, class = void>
struct ControlText {
    static bool Answer(const T&, UINT, WPARAM, LPARAM, LRESULT&) { return false; }
};
template <class T>
struct ControlText<T, std::void_t<decltype(std::declval<const T&>().Text())>> {
    static bool Answer(const T& self, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        const auto& text = self.Text();
        if (message == WM_GETTEXTLENGTH) {
            result = static_cast<LRESULT>(text.size());
            return true;
        }
        if (message != WM_GETTEXT) return false;
        char* out = reinterpret_cast<char*>(lParam);
        const size_t room = static_cast<size_t>(wParam);
        if (!out || room == 0) {
            result = 0;
            return true;
        }
        const size_t n = text.size() < room - 1 ? text.size() : room - 1;
        text.copy(out, n);
        out[n] = '\0';
        result = static_cast<LRESULT>(n);
        return true;
    }
};

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
        case WM_GETTEXT:
        case WM_GETTEXTLENGTH: {
            LRESULT result = 0;
            if (ControlText<T>::Answer(*self, message, wParam, lParam, result)) return result;
            break;
        }
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
