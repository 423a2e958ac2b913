// The link's news as window messages, and the port search.
#include "app/AppLink.h"

#include "app/Messages.h"
#include "app/QuorvelApp.h"
#include "app/QuorvelDlg.h"

namespace {

HWND MainWindowHandle() { return mainWindowHandle.load(); }

}  // namespace

void AppLinkSink::SamplesQueued() {
    PostMessageA(MainWindowHandle(), MSG_81577DB4, 0, 0);
}

void AppLinkSink::Report(const std::string& text, int kind) {
    EnterCriticalSection(&theApp.eventLock);
    theApp.eventText = text;
    LeaveCriticalSection(&theApp.eventLock);
    // No lock is held here: the main window takes eventLock itself while handling this.
    SendMessageA(MainWindowHandle(), MSG_ADA8E3B9, static_cast<WPARAM>(kind), 0);
}

void StoreComSetting(const std::string& name) {
    HWND main = MainWindowHandle();
    if (main && GetWindowThreadProcessId(main, nullptr) != GetCurrentThreadId()) {
        SendMessageA(main, kMsgPortChanged, 0, reinterpret_cast<LPARAM>(&name));
    } else {
        theApp.settings.com = name;
    }
}
