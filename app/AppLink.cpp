// The link's news as window messages, and the port search.
#include "app/AppLink.h"

#include "app/Messages.h"
#include "app/QuorvelApp.h"

std::atomic<HWND> mainWindowHandle{nullptr};

namespace {

HWND MainWindowHandle() { return mainWindowHandle.load(); }

}  // namespace

void AppLinkSink::SamplesQueued() {
    PostMessageA(MainWindowHandle(), MSG_81577DB4, 0, 0);
}

void AppLinkSink::Report(const std::string& text, int kind) {
    HWND main = MainWindowHandle();
    if (!main) return;  // the window is gone: the program is ending
    // Posted, never sent: while the user-interface thread is busy (a print, a slow disk) this
    // thread goes on reading, so the driver's small queue cannot overflow. The texts wait here in
    // order until the window takes them.
    theApp.linkEvents.Push(text, kind);
    // No lock is held here: the main window takes the channel's lock itself while handling this.
    PostMessageA(main, MSG_ADA8E3B9, static_cast<WPARAM>(kind), 0);
}

void StoreComSetting(const std::string& name) {
    HWND main = MainWindowHandle();
    if (main && GetWindowThreadProcessId(main, nullptr) != GetCurrentThreadId()) {
        // Handed over like the texts; the next wait for the link's end takes it too.
        theApp.linkEvents.HandOverPort(name);
        PostMessageA(main, kMsgPortChanged, 0, 0);
    } else {
        theApp.settings.com = name;
    }
}
