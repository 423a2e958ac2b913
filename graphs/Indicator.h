// CIndicator: the round status lamp whose colour shows a state number (Win32 only).
#pragma once

#include <windows.h>

#include "graphs/StatusBrushes.h"
#include "ui/PaintedControl.h"

class CIndicator {
public:
    CIndicator() = default;
    ~CIndicator();
    CIndicator(const CIndicator&) = delete;
    CIndicator& operator=(const CIndicator&) = delete;

    // Creates the lamp as a child of `parent` over `rect` (parent client coordinates); `style` is
    // the window style. Returns false if the window could not be created. Call once.
    bool Create(HWND parent, const RECT& rect, int id,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);

    // Sets the state (1 yellow, 2 green, 3 magenta, 4 blue, anything else red) and repaints the
    // lamp when, and only when, the state changes.
    void SetState(int state);
    int State() const { return state_; }
    HWND Handle() const { return hwnd_; }

    // The lamp's picture: the state's brush and the DC's current pen, an ellipse filling `rect`.
    static void PaintLamp(HDC dc, const RECT& rect, int state);

private:
    static bool RegisterWindowClass();
    friend LRESULT CALLBACK ui::PaintedControlProc<CIndicator>(HWND, UINT, WPARAM, LPARAM);
    void OnPaint();

    HWND hwnd_ = nullptr;  // null before Create and after the window is destroyed
    int state_ = 0;
    status::PaintBuffer buffer_;  // the off-screen picture, kept between paints
};
