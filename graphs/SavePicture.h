// "画像保存...": the window as the screen shows it, saved as a PNG file through the system's GDI+
// encoder.
#pragma once

#include <windows.h>

#include <string>

// Writes `picture` to `path` (code page 932) as PNG, replacing a file of that name; false when GDI+
// or the file fails, and then an existing file is left as it was and no partial file remains.
[[nodiscard]] bool SavePng(HBITMAP picture, const std::string& path);

// Captures `window` as the printed report does, asks for a file name in a save dialog owned by the
// window (default YYYYMMDD_hhmmss.png in `folder`) and saves the picture there. Cancelling saves
// nothing; a failure is reported in a message box.
void SaveWindowPicture(HWND window, const std::string& folder);
