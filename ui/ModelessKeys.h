// Keyboard for modeless dialogs while a modal dialog's loop runs the thread: Tab, Enter, Escape and
// the mnemonics reach them through the dialog manager's message filter.
#pragma once

#include <windows.h>

namespace ui {

// `dialog` gets its keys through IsDialogMessage until it is removed, while it is the active
// window; it reports its WM_ACTIVATE below. Call on its own thread.
void AddModelessDialog(HWND dialog);
void RemoveModelessDialog(HWND dialog);
// A registered dialog's WM_ACTIVATE: it became the active window (or stopped being it).
void ModelessDialogActivated(HWND dialog, bool active);

}  // namespace ui
