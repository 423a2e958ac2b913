// Probing COM1 to COM30 for ports that can be opened, for the port search dialog.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace device {

constexpr int kSearchPortCount = 30;

// Progress of one port; the values are the lParam of the dialog's progress message.
enum class ProbeStage { Probing = 0, Unusable = 1, Usable = 2 };

// True when the port (e.g. "COM3") can be opened right now; the probe closes it again at once.
using PortProbe = std::function<bool(const std::string& name)>;
// Called with the port's index (0 for COM1) before and after each probe.
using ProbeProgress = std::function<void(int index, ProbeStage stage)>;

// "COM%d" of index + 1.
std::string ComPortName(int index);

// Probes COM1..COM30 in order while keepSearching is non-zero (checked before each port, so a
// cancel finishes the port in progress); returns the usable names in ascending order.
std::vector<std::string> SearchComPorts(const PortProbe& probe, const ProbeProgress& progress,
                                        const std::atomic<int32_t>& keepSearching);

}  // namespace device
