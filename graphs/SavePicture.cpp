// Saved pictures: PNG files through the GDI+ flat interface (the encoder is found by its MIME
// type), and the save command of the main window.
#include "graphs/SavePicture.h"

#include "graphs/PrintReport.h"
#include "graphs/ReportPage.h"
#include "ui/MessageBox.h"

#include <commdlg.h>

#include <gdiplus.h>

#include <cstring>
#include <vector>

namespace {

using namespace Gdiplus;

bool PngEncoder(CLSID& clsid) {
    UINT count = 0, bytes = 0;
    if (DllExports::GdipGetImageEncodersSize(&count, &bytes) != Ok || bytes == 0) return false;
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    if (DllExports::GdipGetImageEncoders(count, bytes, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

std::wstring Wide(const std::string& ansi) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    if (n <= 0) return L"";
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));
    return wide;
}

}  // namespace

bool SavePng(HBITMAP picture, const std::string& path) {
    const std::wstring widePath = Wide(path);
    if (!picture || widePath.empty()) return false;
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) != Ok) return false;
    // Written beside the target first, so a failed write neither truncates an existing file nor
    // leaves half a picture under the chosen name.
    const std::wstring partPath = widePath + L".part";
    bool saved = false;
    CLSID png{};
    GpBitmap* bitmap = nullptr;
    if (PngEncoder(png) && DllExports::GdipCreateBitmapFromHBITMAP(picture, nullptr, &bitmap) == Ok) {
        saved = DllExports::GdipSaveImageToFile(bitmap, partPath.c_str(), &png, nullptr) == Ok;
        DllExports::GdipDisposeImage(bitmap);
    }
    GdiplusShutdown(token);
    if (saved) saved = MoveFileExW(partPath.c_str(), widePath.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    if (!saved) DeleteFileW(partPath.c_str());
    return saved;
}

void SaveWindowPicture(HWND window, const std::string& folder) {
    // Taken before the dialog opens, like the printed report's picture.
    HBITMAP picture = CaptureWindowPicture(window);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char file[MAX_PATH] = "";
    const std::string name = report::PictureFileName({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
    lstrcpynA(file, name.c_str(), sizeof file);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = window;
    ofn.lpstrFilter = "PNG ファイル (*.png)\0*.png\0すべてのファイル (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.lpstrDefExt = "png";
    // The INI file's path follows the current directory, so the dialog must not change it.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (GetSaveFileNameA(&ofn)) {
        if (!SavePng(picture, file)) {
            const std::string text = std::string("画像を保存できませんでした。\n") + file;
            ui::ShowMessage(window, text.c_str(), MB_OK);
        }
    }
    if (picture) DeleteObject(picture);
}
