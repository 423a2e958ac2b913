// The port search dialog's thread and its progress handling.
#include "device/SearchComPort.h"

#include <commctrl.h>

#include "device/SearchText.h"
#include "device/Win32SerialPort.h"
#include "resources/SearchComPortResource.h"

namespace device {

CSearchComPort::CSearchComPort(std::vector<std::string>& found, PortProbe probe_)
    : ui::Dialog(IDD_SEARCH_COM_PORT, nullptr), foundPorts(found), probe(std::move(probe_)) {}

CSearchComPort::~CSearchComPort() {
    // The thread's destructor waits for it; make that wait short.
    keepSearching.store(0);
}

PortProbe CSearchComPort::ProbeComPortDefault() {
    return [](const std::string& name) { return ProbeComPort(name); };
}

bool CSearchComPort::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_COMSEARCH_PROGRESS: result = OnSearchProgress(wParam, lParam); return true;
    default: return ui::Dialog::HandleMessage(message, wParam, lParam, result);
    }
}

BOOL CSearchComPort::OnInitDialog() {
    SendMessageA(Item(IDC_SEARCH_PROGRESS), PBM_SETRANGE, 0, MAKELPARAM(0, kSearchPortCount - 1));
    foundPorts.clear();
    keepSearching.store(1);
    window = Handle();
    // Without a thread no end message would ever come; close at once with nothing found.
    if (thread.Start(SearchThread, this, 0, 0) == 0) EndDialog(IDCANCEL);
    return TRUE;
}

void CSearchComPort::OnCancel() { keepSearching.store(0); }

unsigned __stdcall CSearchComPort::SearchThread(void* argument) {
    auto* self = static_cast<CSearchComPort*>(argument);
    const HWND dialog = self->window;
    try {
        // Sent, not posted: each step is on screen before the next port is probed.
        (void)SearchComPorts(
            self->probe,
            [dialog](int index, ProbeStage stage) {
                SendMessageA(dialog, WM_COMSEARCH_PROGRESS, static_cast<WPARAM>(index),
                             static_cast<LPARAM>(stage));
            },
            self->keepSearching);
    } catch (...) {
        // A failing probe ends the search early; the dialog still gets its end message.
    }
    PostMessageA(dialog, WM_COMSEARCH_PROGRESS, kSearchEndedParam, 0);
    return 0;
}

LRESULT CSearchComPort::OnSearchProgress(WPARAM wParam, LPARAM lParam) {
    if (wParam == kSearchEndedParam) {
        // The thread has left its loop and only returns now; do not wait for it.
        thread.Close(0);
        EndDialog(IDCANCEL);
        return 0;
    }
    const std::string text = ApplySearchProgress(static_cast<int64_t>(wParam), static_cast<int64_t>(lParam), foundPorts);
    if (text.empty()) return 0;
    HWND progress = Item(IDC_SEARCH_PROGRESS);
    SendMessageA(progress, PBM_SETPOS, wParam, 0);
    SetItemText(IDC_SEARCH_STATUS, text);
    UpdateWindow(progress);
    UpdateWindow(Item(IDC_SEARCH_STATUS));
    return 0;
}

std::vector<std::string> RunComPortSearch(const PortProbe& probe) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    std::vector<std::string> found;
    CSearchComPort dialog(found, probe);
    dialog.keepSearching.store(1);
    (void)dialog.DoModal();
    return found;
}

}  // namespace device
