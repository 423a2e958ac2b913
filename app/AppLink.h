// Where the serial link's news goes: window messages to the main window, and the port search.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "device/RsUtil.h"

// Runs on the receive thread: samples are announced with a posted notice, texts queued in the
// event channel and announced with a posted message; the thread never waits for the window.
// The main window's handle for the receive thread, which must not touch the window object; null
// before the window is up and after it is gone.
extern std::atomic<HWND> mainWindowHandle;

class AppLinkSink : public device::LinkSink {
public:
    void SamplesQueued() override;
    void Report(const std::string& text, int kind) override;
};

// Stores the port the link switched to as [SPEC] COM. A switch made on the receive thread is
// handed to the user-interface thread (CQuorvelApp::TakePortChange), which alone touches the
// settings.
void StoreComSetting(const std::string& name);
