// Trigger-history window texts: status line, headings, cells and the kept selection.
#include "history/HistoryWindowText.h"

#include <algorithm>
#include <cstdio>

namespace app {

namespace {

// The widest text each column is made for, besides its caption with a sort mark.
constexpr const char* kWidestCells[kHistoryColumnCount] = {
    "2024/12/31 23:59:59", "00000.00", "20241231_235959.csv (+9)", "0000.00", "0000.00", "0000.00", "0000.00",
    "-0.0", "6強"};

}  // namespace

HistoryStatusLine HistoryStatusOf(const HistoryProgress& progress, std::size_t rows) {
    HistoryStatusLine line;
    char text[128];
    if (progress.busy && progress.total > 0) {
        std::snprintf(text, sizeof text, "トリガファイルを読み込み中… %d / %d", progress.done, progress.total);
    } else if (progress.busy) {
        std::snprintf(text, sizeof text, "トリガファイルを確認中…");
    } else if (rows == 0) {
        std::snprintf(text, sizeof text, "トリガ記録はありません。");
    } else {
        std::snprintf(text, sizeof text, "%u 件", static_cast<unsigned>(rows));
    }
    line.text = text;
    line.barRange = progress.total > 0 ? progress.total : 1;
    line.barPos = progress.done;
    line.barShown = progress.busy && progress.total > 0;
    return line;
}

std::string HistoryHeading(HistoryColumn column, HistoryColumn sortColumn, bool ascending) {
    std::string caption = HistoryColumnCaption(column);
    if (column == sortColumn) caption += ascending ? " ▲" : " ▼";
    return caption;
}

const char* HistoryWidestCell(HistoryColumn column) { return kWidestCells[static_cast<int>(column)]; }

std::string HistoryWidestHeading(HistoryColumn column) { return std::string(HistoryColumnCaption(column)) + " ▼"; }

int HistoryColumnWidth(HistoryColumn column, const std::function<int(const char*)>& textWidth) {
    return std::max(textWidth(HistoryWidestHeading(column).c_str()), textWidth(HistoryWidestCell(column))) + 16;
}

bool HistoryColumnRightAligned(HistoryColumn c) {
    return c != HistoryColumn::Time && c != HistoryColumn::File && c != HistoryColumn::Class;
}

const TriggerEvent* HistoryRowAt(const HistoryRows& rows, int row) {
    return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<std::size_t>(row)] : nullptr;
}

std::string HistoryCell(const HistoryRows& rows, int row, int column) {
    const TriggerEvent* event = HistoryRowAt(rows, row);
    if (!event || column < 0 || column >= kHistoryColumnCount) return {};
    return HistoryCellText(*event, static_cast<HistoryColumn>(column));
}

void HistorySelection::Remember(const HistoryRows& rows, int selected) {
    const TriggerEvent* event = HistoryRowAt(rows, selected);
    kept_ = event != nullptr;
    if (kept_) group_ = event->group;
}

std::optional<int> HistorySelection::TakeRow(const HistoryRows& rows) {
    if (!kept_) return std::nullopt;
    kept_ = false;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i]->group == group_) return static_cast<int>(i);
    return -1;
}

}  // namespace app
