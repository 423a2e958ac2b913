// The COM port search dialog: a worker thread probes COM1..COM30 while the dialog shows each step.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "device/PortSearch.h"
#include "device/Thread.h"
#include "ui/Dialog.h"

namespace device {

// Progress of the search thread. wParam: index of the port (0 for COM1 ... 29 for COM30), or all
// bits set when the search has ended; lParam: the ProbeStage of that port (0 for the end).
constexpr UINT WM_COMSEARCH_PROGRESS = WM_APP + 11;
constexpr WPARAM kSearchEndedParam = ~static_cast<WPARAM>(0);

class CSearchComPort : public ui::Dialog {
public:
    // `foundPorts` is emptied when the dialog opens and then receives the usable ports in
    // ascending order; it must outlive the dialog. `probe` tells whether a port can be opened.
    explicit CSearchComPort(std::vector<std::string>& foundPorts, PortProbe probe = ProbeComPortDefault());
    // Stops a search thread that is still probing (a dialog torn down early) and waits for it.
    ~CSearchComPort() override;

    // The probe the product uses: CreateFileA on the port, closed again at once.
    static PortProbe ProbeComPortDefault();

    // Declared before `thread`, so it outlives the thread's final wait in the destructor.
    std::atomic<int32_t> keepSearching{1};  // 1 while the thread may go on to the next port

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;
    // Cancel button, Escape and the close box: the search stops after the port in progress and
    // the dialog closes when the thread reports its end.
    void OnCancel() override;

private:
    static unsigned __stdcall SearchThread(void* dialog);
    LRESULT OnSearchProgress(WPARAM wParam, LPARAM lParam);

    std::vector<std::string>& foundPorts;  // written only on the dialog's thread
    PortProbe probe;
    HWND window = nullptr;  // the dialog for the search thread; fixed before the thread starts
    Thread thread{Thread::kReleaseOnDestroy | Thread::kWaitOnDestroy};
};

// Runs one search modally with no parent window and returns the usable ports in ascending order
// (empty when none was found or the dialog could not be shown).
std::vector<std::string> RunComPortSearch(const PortProbe& probe = CSearchComPort::ProbeComPortDefault());

}  // namespace device
