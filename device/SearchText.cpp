// Status texts of the port search and the bookkeeping of one progress report.
#include "device/SearchText.h"

namespace device {

const char* const kTextNoUsablePort = "使用可能な通信ポートが見つかりません。";

std::string SearchStatusText(int index, ProbeStage stage) {
    if (index < 0 || index >= kSearchPortCount) return {};
    const char* suffix = nullptr;
    switch (stage) {
    case ProbeStage::Probing: suffix = " を調べています・・・"; break;
    case ProbeStage::Unusable: suffix = " 使用不可能"; break;
    case ProbeStage::Usable: suffix = " 使用可能"; break;
    }
    if (suffix == nullptr) return {};
    return ComPortName(index) + suffix;
}

std::string ApplySearchProgress(int64_t index, int64_t stage, std::vector<std::string>& foundPorts) {
    if (index < 0 || index >= kSearchPortCount) return {};
    if (stage < static_cast<int64_t>(ProbeStage::Probing) || stage > static_cast<int64_t>(ProbeStage::Usable))
        return {};
    const auto s = static_cast<ProbeStage>(stage);
    if (s == ProbeStage::Usable) foundPorts.push_back(ComPortName(static_cast<int>(index)));
    return SearchStatusText(static_cast<int>(index), s);
}

}  // namespace device
