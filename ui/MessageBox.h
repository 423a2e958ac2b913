// Message boxes with the program's icon rule: a box with only OK, or OK and Cancel, and no icon
// of its own shows the warning icon.
#pragma once

#include <windows.h>

namespace ui {

// The caption is the program's name; returns the pressed button (IDOK, IDCANCEL, ...).
int ShowMessage(HWND owner, const char* text, UINT type = MB_OK);

// The icon rule on its own, for callers that build their own boxes.
UINT WithDefaultIcon(UINT type);

}  // namespace ui
