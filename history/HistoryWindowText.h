// The trigger-history window without its window: the status line and progress bar, the column
// headings with the sort mark, the cells, and the recording that stays selected while the rows
// change. The Win32 window fills its report list and controls from these.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "history/HistoryWorker.h"
#include "history/TriggerHistory.h"

namespace app {

using HistoryRows = std::vector<const TriggerEvent*>;

// The status line and the progress bar for the reading's progress and the rows shown.
struct HistoryStatusLine {
    std::string text;
    int barRange = 1;  // the bar runs 0..barRange
    int barPos = 0;
    bool barShown = false;
};
[[nodiscard]] HistoryStatusLine HistoryStatusOf(const HistoryProgress& progress, std::size_t rows);

// A column's heading: its caption, with "▲" or "▼" after the column sorted by.
[[nodiscard]] std::string HistoryHeading(HistoryColumn column, HistoryColumn sortColumn, bool ascending);
// What a column is made wide enough for: its widest cell, and its caption with a sort mark.
[[nodiscard]] const char* HistoryWidestCell(HistoryColumn column);
[[nodiscard]] std::string HistoryWidestHeading(HistoryColumn column);
// A column's width for its texts' widths as `textWidth` measures them: its widest cell or its
// caption with a sort mark, whichever is wider, and the list's own margins on both sides.
[[nodiscard]] int HistoryColumnWidth(HistoryColumn column, const std::function<int(const char*)>& textWidth);
// Numbers are right-aligned; time, file and class read from the left.
[[nodiscard]] bool HistoryColumnRightAligned(HistoryColumn column);

// The event of a row, or null outside the rows.
[[nodiscard]] const TriggerEvent* HistoryRowAt(const HistoryRows& rows, int row);
// The text of a cell; empty outside the rows and columns.
[[nodiscard]] std::string HistoryCell(const HistoryRows& rows, int row, int column);

// The selected recording, found again by its first file after the rows changed.
class HistorySelection {
public:
    // Notes the recording at `selected` (-1: none).
    void Remember(const HistoryRows& rows, int selected);
    // After a change: none when nothing was noted (the list's selection stays as it is), else the
    // row the recording is now in, -1 when it is gone (the selection is cleared). Forgets it.
    [[nodiscard]] std::optional<int> TakeRow(const HistoryRows& rows);

private:
    bool kept_ = false;
    std::string group_;
};

}  // namespace app
