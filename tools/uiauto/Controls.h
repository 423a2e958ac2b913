// Lookups that uiauto's command files share.
#pragma once

#include <windows.h>

#include <string>

// The control with `id` among the window's children, or else among all its descendants; a
// visible one first.
HWND FindControl(HWND parent, int id);
std::string WideToUtf8(const wchar_t* wide);
