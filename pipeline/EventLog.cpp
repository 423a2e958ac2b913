// Event rows and their time stamps for the control panel's log list.
#include "pipeline/EventLog.h"

#include <cstdio>

namespace app {

std::string LogStamp(const LocalTime& now, int pcClock) {
    char row[96];  // room for any int values, so nothing is ever cut
    if (pcClock == 0) {
        std::snprintf(row, sizeof row, " %02d.%02d_%02d:%02d:%02d", now.month, now.day, now.hour,
                      now.minute, now.second);
    } else {
        std::snprintf(row, sizeof row, "PC%02d%02d%02d%02d%02d%02d", now.year - 2000, now.month,
                      now.day, now.hour, now.minute, now.second);
    }
    return row;
}

void AddLog(LogList& list, bool enabled, const std::string& text, int pcClock, const LocalTime& now) {
    if (!enabled) return;
    list.Append(text);
    list.Append(LogStamp(now, pcClock));
    list.SelectLast();
    if (list.Count() > kLogMaxRows) {
        for (int i = 0; i < kLogTrimRows; ++i) list.DeleteFirst();
    }
}

}  // namespace app
