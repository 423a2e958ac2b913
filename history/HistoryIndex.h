// The trigger history's index file in the Trig.dt folder: per group of trigger files, the stamps
// of its files and its events, so a later start reads only what changed. A file that is not
// exactly what FormatHistoryIndex writes (damaged, cut short, edited, another version) is refused
// as a whole and the history is rebuilt from the waveform files.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/TriggerHistory.h"

namespace app {

inline constexpr const char* kHistoryIndexName = "TrigHistory.idx";

struct IndexedGroup {
    std::vector<files::FileStamp> files;  // the stamps the events were read from, first file first
    std::vector<TriggerEvent> events;     // may be empty: the files hold no trigger recording
};

// Group key (its first file's name) → what was read from it.
using HistoryIndex = std::map<std::string, IndexedGroup>;

// The index as bytes: a version line, one "G" line per group with its file stamps and one "E" line
// per event, then an "END" line with the line count and a checksum of everything before it.
[[nodiscard]] std::string FormatHistoryIndex(const HistoryIndex& index);
// The index those bytes hold; none when they are not a complete, intact index of this version.
[[nodiscard]] std::optional<HistoryIndex> ParseHistoryIndex(const std::string& bytes);

}  // namespace app
