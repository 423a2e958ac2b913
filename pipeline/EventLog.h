// The control panel's event log: two rows per event, the text and a time stamp, kept short.
#pragma once

#include <string>

namespace app {

// The rows of the log list as the log needs them (the panel's list box, or a fake in tests).
class LogList {
public:
    virtual ~LogList() = default;
    virtual void Append(const std::string& row) = 0;  // adds a row at the end
    virtual int Count() const = 0;
    virtual void DeleteFirst() = 0;
    virtual void SelectLast() = 0;  // selects the last row, scrolling the list to it
};

// A local time of day as the PC clock gives it.
struct LocalTime {
    int year = 2000;  // full year, e.g. 2026
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Rows kept: once the list holds more than kLogMaxRows, its kLogTrimRows oldest rows go.
inline constexpr int kLogMaxRows = 1000;
inline constexpr int kLogTrimRows = 500;

// The stamp row: pcClock 0 gives " MM.DD_hh:mm:ss"; any other value gives "PCYYMMDDhhmmss" with the
// year minus 2000, so that a recorder time line can be compared with the PC clock.
[[nodiscard]] std::string LogStamp(const LocalTime& now, int pcClock);

// Appends `text` and its stamp row and selects the last row, then trims the list; nothing at all
// when the log is disabled ([SPEC] LOG_LIST 0).
void AddLog(LogList& list, bool enabled, const std::string& text, int pcClock, const LocalTime& now);

}  // namespace app
