// What the port search dialog shows and keeps for each step of a probe (portable).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "device/PortSearch.h"

namespace device {

// Shown by the callers of the search when it found nothing (CP932 bytes).
extern const char* const kTextNoUsablePort;  // "使用可能な通信ポートが見つかりません。"

// Status line for one step: "COMn を調べています・・・", "COMn 使用不可能" or "COMn 使用可能".
// Empty for an index outside 0..kSearchPortCount-1 or an unknown stage.
std::string SearchStatusText(int index, ProbeStage stage);

// One progress report as the dialog receives it: validates the raw message values, appends the
// port to `foundPorts` when it was found usable and returns the status text. An empty result
// means the report was malformed and nothing changed.
std::string ApplySearchProgress(int64_t index, int64_t stage, std::vector<std::string>& foundPorts);

}  // namespace device
