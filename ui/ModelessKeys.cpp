// A thread-local message-filter hook: the modal loop offers each message to the filter before
// its own dialog, and the filter hands keys meant for a registered modeless dialog to it.
#include "ui/ModelessKeys.h"

#include <algorithm>
#include <vector>

namespace ui {
namespace {

thread_local std::vector<HWND> dialogs;
thread_local HWND activeDialog = nullptr;  // the registered dialog that is the active window
thread_local HHOOK hook = nullptr;

LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    // Only the dialog loop's messages: a menu's own loop (MSGF_MENU) keeps its keys.
    if (code == MSGF_DIALOGBOX && msg && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        const std::vector<HWND> registered = dialogs;  // a key may close a dialog and unregister it
        for (HWND dialog : registered) {
            if ((msg->hwnd == dialog || IsChild(dialog, msg->hwnd)) && IsDialogMessageA(dialog, msg)) return TRUE;
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

bool Registered(HWND dialog) { return std::find(dialogs.begin(), dialogs.end(), dialog) != dialogs.end(); }

// Keys go to the active window and its children only, so the filter is needed only while a
// registered dialog is active. Under Wine every message of the modal loop costs three server
// calls while the hook is in place.
void FollowActiveDialog() {
    const bool wanted = activeDialog && Registered(activeDialog);
    if (wanted && !hook) {
        hook = SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
    } else if (!wanted && hook) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

}  // namespace

void AddModelessDialog(HWND dialog) {
    if (!Registered(dialog)) dialogs.push_back(dialog);
    if (GetActiveWindow() == dialog) activeDialog = dialog;
    FollowActiveDialog();
}

void RemoveModelessDialog(HWND dialog) {
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), dialog), dialogs.end());
    if (activeDialog == dialog) activeDialog = nullptr;
    FollowActiveDialog();
}

void ModelessDialogActivated(HWND dialog, bool active) {
    if (active) activeDialog = dialog;
    else if (activeDialog == dialog) activeDialog = nullptr;
    FollowActiveDialog();
}

}  // namespace ui
