// GDI ownership helpers of the status controls, the off-screen bitmaps they and the graphs paint
// through, and the lamp brushes all lamps share (Win32 only).
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace status {

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const noexcept {
        if (object) DeleteObject(object);
    }
};
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;

// Selects an object into a DC for the lifetime of the scope; a null object selects nothing.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Saves the DC's state and restores it at the end of the scope.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDc() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

// An off-screen bitmap kept between paints: a control that draws many times a second would
// otherwise make and delete a DC and a bitmap each time, which costs more than the drawing.
class PaintBuffer {
public:
    PaintBuffer() = default;
    ~PaintBuffer() { Release(); }
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    // A memory DC compatible with `target` with a bitmap of at least width × height selected;
    // null when none could be had.
    HDC Get(HDC target, int width, int height);
    void Release();

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    int width_ = 0, height_ = 0;
};

// An off-screen copy of `rect` of a target DC, in `kept`'s DC and bitmap, which stay for the next
// time: draw into Dc() with the target's coordinates, and the destructor copies the finished
// picture to the target in one blit. If no memory DC can be had, Dc() is the target itself and
// drawing goes there directly.
class BufferedDc {
public:
    BufferedDc(HDC target, const RECT& rect, PaintBuffer& kept);
    ~BufferedDc();
    BufferedDc(const BufferedDc&) = delete;
    BufferedDc& operator=(const BufferedDc&) = delete;

    HDC Dc() const { return memory_ ? memory_ : target_; }

private:
    void PlaceOrigin();

    HDC target_;
    RECT rect_;
    HDC memory_ = nullptr;  // kept's
    POINT oldOrigin_{0, 0};
};

// The brush of a lamp state (shared by every lamp; states outside 1 .. 4 share state 0's). The
// brushes are created on first use and deleted when the program exits. User-interface thread only.
HBRUSH LampBrush(int state);

}  // namespace status
