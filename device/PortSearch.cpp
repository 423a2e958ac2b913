// Sequential probe of COM1..COM30.
#include "device/PortSearch.h"

#include <cstdio>

namespace device {

std::string ComPortName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "COM%d", index + 1);
    return name;
}

std::vector<std::string> SearchComPorts(const PortProbe& probe, const ProbeProgress& progress,
                                        const std::atomic<int32_t>& keepSearching) {
    std::vector<std::string> found;
    for (int i = 0; i < kSearchPortCount; ++i) {
        if (keepSearching.load() == 0) break;
        if (progress) progress(i, ProbeStage::Probing);
        const std::string name = ComPortName(i);
        const bool usable = probe && probe(name);
        if (usable) found.push_back(name);
        if (progress) progress(i, usable ? ProbeStage::Usable : ProbeStage::Unusable);
    }
    return found;
}

}  // namespace device
