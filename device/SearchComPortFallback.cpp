// The link's fallback through the port search dialog.
#include "device/SearchComPortFallback.h"

#include <windows.h>

#include "device/SearchComPort.h"
#include "device/SearchText.h"
#include "ui/MessageBox.h"

namespace device {

SearchComPortFallback::SearchComPortFallback(std::vector<std::string>& found, PortChangedFn changed)
    : foundPorts(found), portChanged(std::move(changed)), probe(CSearchComPort::ProbeComPortDefault()) {}

std::vector<std::string> SearchComPortFallback::SearchPorts() {
    foundPorts = RunComPortSearch(probe);
    return foundPorts;
}

void SearchComPortFallback::ShowNoUsablePort() {
    (void)ui::ShowMessage(nullptr, kTextNoUsablePort, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
}

void SearchComPortFallback::PortChanged(const std::string& name) {
    if (portChanged) portChanged(name);
}

}  // namespace device
