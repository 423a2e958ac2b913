// What the serial link does when its port cannot be opened: the search dialog, the "no port"
// message and storing the port it switched to (Win32).
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "device/PortSearch.h"
#include "device/RsUtil.h"

namespace device {

class SearchComPortFallback : public PortFallback {
public:
    using PortChangedFn = std::function<void(const std::string& name)>;
    // `foundPorts` (the application's list) is refilled by every search and must outlive this
    // object; `portChanged` stores the new COM setting (may be empty). Both are used on the
    // thread that opens the port, which may be the receive thread.
    SearchComPortFallback(std::vector<std::string>& foundPorts, PortChangedFn portChanged);
    // For tests and tools: a different probe in the dialog.
    void SetProbe(PortProbe probe_) { probe = std::move(probe_); }

    std::vector<std::string> SearchPorts(const std::atomic<int32_t>& keepGoing) override;
    void ShowNoUsablePort() override;
    void PortChanged(const std::string& name) override;

private:
    std::vector<std::string>& foundPorts;
    PortChangedFn portChanged;
    PortProbe probe;
};

}  // namespace device
