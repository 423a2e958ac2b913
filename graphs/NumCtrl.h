// CNumCtrl: a read-only field that shows a short right-aligned text on its own background colour
// and font; it draws only when its text changes (Win32 only).
#pragma once

#include "graphs/StatusBrushes.h"
#include "graphs/StatusLook.h"

#include <windows.h>

#include "ui/PaintedControl.h"

#include <string>

class CNumCtrl {
public:
    CNumCtrl() = default;
    ~CNumCtrl();
    CNumCtrl(const CNumCtrl&) = delete;
    CNumCtrl& operator=(const CNumCtrl&) = delete;

    // Creates the field as a child of `parent` over `rect` (parent client coordinates). Returns
    // false if the window could not be created. Call once.
    bool CreateEx(DWORD exStyle, DWORD style, const RECT& rect, HWND parent, int id);

    // Replaces the owned background brush by a solid brush of `colour` and paints with it. Does
    // not repaint; owners invalidate when they change colours of a visible field.
    void SetBackground(COLORREF colour);
    // Takes ownership of `font` (may be null: the DC's font is used) and deletes the previous one.
    void SetFont(HFONT font);
    HFONT Font() const { return font_.get(); }

    // Stores `text` and draws the field at once when the text differs from the current one; an
    // equal text does nothing.
    void SetText(const std::string& text);
    const std::string& Text() const { return text_.Text(); }

    // Draws the field into `dc` in client coordinates (the window must exist).
    void Draw(HDC dc) const;
    // The field's picture over `rect` of `dc`: the background (white when `background` is null),
    // then `text` in black, right-aligned, 2 pixels in from the right and the top.
    static void DrawField(HDC dc, const RECT& rect, HBRUSH background, HFONT font, const std::string& text);

    HWND Handle() const { return hwnd_; }

private:
    static bool RegisterWindowClass();
    friend LRESULT CALLBACK ui::PaintedControlProc<CNumCtrl>(HWND, UINT, WPARAM, LPARAM);
    void OnPaint();
    void DrawBuffered(HDC dc) const;

    HWND hwnd_ = nullptr;  // null before CreateEx and after the window is destroyed
    status::NumText text_;
    status::UniqueBrush background_;
    HBRUSH brushInUse_ = nullptr;  // invariant: null or background_.get()
    status::UniqueFont font_;
    // The value fields change many times a second: their off-screen bitmap is kept.
    mutable status::PaintBuffer buffer_;
};
