// Message boxes captioned with the program's base name.
#include "ui/MessageBox.h"

#include <cstring>

namespace ui {

UINT WithDefaultIcon(UINT type) {
    const UINT buttons = type & MB_TYPEMASK;
    if ((type & MB_ICONMASK) == 0 && (buttons == MB_OK || buttons == MB_OKCANCEL)) type |= MB_ICONEXCLAMATION;
    return type;
}

int ShowMessage(HWND owner, const char* text, UINT type) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    const char* base = std::strrchr(module, '\\');
    base = base ? base + 1 : module;
    char caption[MAX_PATH];
    lstrcpynA(caption, base, MAX_PATH);
    if (char* dot = std::strrchr(caption, '.')) *dot = '\0';
    if (!owner) owner = GetActiveWindow();
    return MessageBoxA(owner, text, caption, WithDefaultIcon(type));
}

}  // namespace ui
