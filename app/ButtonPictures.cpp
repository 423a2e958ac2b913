// Start/stop pictures: RGB(192,192,192) outside the rounded corners becomes the button face colour.
#include "app/ButtonPictures.h"

#include <map>

namespace {

HBITMAP LoadWithButtonFace(int id) {
    HBITMAP source = static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!source) return nullptr;
    BITMAP info{};
    GetObjectA(source, sizeof info, &info);

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP result = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (result) {
        GetDIBits(screen, source, 0, info.bmHeight, bits, &bi, DIB_RGB_COLORS);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const DWORD faceBgra = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
        DWORD* pixel = static_cast<DWORD*>(bits);
        for (int i = 0, n = info.bmWidth * info.bmHeight; i < n; ++i)
            if ((pixel[i] & 0xFFFFFF) == 0xC0C0C0) pixel[i] = faceBgra;
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(source);
    return result;
}

}  // namespace

HBITMAP ButtonPicture(int id) {
    static std::map<int, HBITMAP> cache;  // UI thread only; kept until the process ends
    auto it = cache.find(id);
    if (it != cache.end()) return it->second;
    HBITMAP picture = LoadWithButtonFace(id);
    cache[id] = picture;
    return picture;
}
