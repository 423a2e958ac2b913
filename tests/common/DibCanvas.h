// A 32-bit top-down DIB section selected into a memory DC, for tests that check painted pixels
// (Win32 tree only).
#pragma once

#ifdef _WIN32

#include <windows.h>

namespace test_common {

// A 32-bit DIB section selected into a memory DC, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const {
        GdiFlush();
        const DWORD bgra = static_cast<const DWORD*>(bits_)[y * width_ + x];
        return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
    }
    // Number of pixels of `colour` in columns [x0, x1).
    int Count(COLORREF colour, int x0, int x1) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = x0; x < x1; ++x) n += Pixel(x, y) == colour;
        return n;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

}  // namespace test_common

#endif
