// The link's fallback through the port search dialog.
#include "device/SearchComPortFallback.h"

#include <windows.h>

#include "device/SearchComPort.h"
#include "device/SearchText.h"
#include "ui/MessageBox.h"

namespace device {

SearchComPortFallback::SearchComPortFallback(std::vector<std::string>& found, PortChangedFn changed)
    : foundPorts(found), portChanged(std::move(changed)), probe(CSearchComPort::ProbeComPortDefault()) {}

std::vector<std::string> SearchComPortFallback::SearchPorts(const std::atomic<int32_t>& keepGoing) {
    // Once a stop is requested the remaining ports are passed over without being opened, so the
    // dialog closes within a moment.
    const PortProbe& inner = probe;
    foundPorts = RunComPortSearch([&inner, &keepGoing](const std::string& name) {
        return keepGoing.load() != 0 && inner(name);
    });
    return foundPorts;
}

void SearchComPortFallback::ShowNoUsablePort() {
    (void)ui::ShowMessage(nullptr, kTextNoUsablePort, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

void SearchComPortFallback::PortChanged(const std::string& name) {
    if (portChanged) portChanged(name);
}

}  // namespace device
