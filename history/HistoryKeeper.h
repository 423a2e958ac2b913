// The trigger history of the running program without its window: the worker reading the data
// folder's Trig.dt, the list the window shows, what the main window and the trigger recording tell
// it, and the list's export as a spreadsheet file.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "history/HistoryWorker.h"
#include "history/TriggerHistory.h"

namespace app {

// The history's window, while it exists.
class HistoryView {
public:
    virtual ~HistoryView() = default;
    // Before the rows change: which recording is selected.
    virtual void RememberSelection() = 0;
    // After: the rows, the sort mark and the progress anew.
    virtual void Refresh() = 0;
};

class HistoryKeeper {
public:
    // `folder` gives the Trig.dt folder of the settings in force.
    explicit HistoryKeeper(std::function<std::string()> folder);
    ~HistoryKeeper();

    // Starts the worker and the background reading; `notify` runs on the worker thread and must
    // only post a message (see HistoryWorker).
    void Start(std::function<void()> notify);
    // Ends the worker (after the file it is reading).
    void Stop();
    // The window was opened: files may have come or gone, or the data folder changed, so the
    // folder is read again (only what changed); a reading in progress of the same folder goes on.
    void Rescan();
    // The worker's notice: its updates into the list, the window told before and after.
    void OnNotice(HistoryView* view);
    // A trigger recording ended with these files (first part first): its group is read again.
    void OnTriggerRecordingEnded(const std::vector<std::string>& paths);

    TriggerHistoryList& List() { return list_; }
    [[nodiscard]] HistoryProgress Progress() const;

private:
    std::function<std::string()> folder_;
    std::unique_ptr<HistoryWorker> worker_;
    TriggerHistoryList list_;
};

// A click on a column's heading: sorts the list by it (or flips its direction), the window told
// before and after; other columns are ignored.
void SortHistory(TriggerHistoryList& list, int column, HistoryView& view);

// The export's bytes: a UTF-8 byte-order mark and the list's CSV, whose code-page 932 text
// `toUtf8` converts.
[[nodiscard]] std::string HistoryExportBytes(const std::vector<const TriggerEvent*>& rows,
                                             const std::function<std::string(const std::string&)>& toUtf8);
// Writes `bytes` to `path`, replacing it; false when any of it could not be written.
[[nodiscard]] bool WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace app
