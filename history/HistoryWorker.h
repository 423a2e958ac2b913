// The trigger history's worker thread: lists the Trig.dt folder, takes unchanged groups from the
// index file, reads the rest (newest first), keeps the index file up to date and hands the results
// to the user-interface thread as HistoryUpdate values.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "history/HistoryIndex.h"
#include "history/TriggerHistory.h"

namespace app {

struct HistoryProgress {
    int done = 0;       // groups read in the current pass
    int total = 0;      // groups the current pass has to read
    bool busy = false;  // a pass is running or waiting
};

class HistoryWorker {
public:
    // `notify` runs on the worker thread, with no lock held, whenever updates wait and no earlier
    // notice is pending (TakeUpdates clears that), and once more when the work in hand is done (so
    // at most two notices are ever outstanding); it must only post a message.
    explicit HistoryWorker(std::function<void()> notify);
    ~HistoryWorker();
    HistoryWorker(const HistoryWorker&) = delete;
    HistoryWorker& operator=(const HistoryWorker&) = delete;

    // Brings the history of `folder` up to date: a reset update with every group the index still
    // holds for unchanged files, then one update per group read. Supersedes pending requests.
    void Scan(const std::string& folder);
    // Reads again the group of a finished trigger recording: `fileNames` are its files in `folder`,
    // the first file first. Only those files are looked at, so the work does not grow with the
    // folder. A different folder than the last scan's scans that folder instead.
    void Refresh(const std::string& folder, const std::vector<std::string>& fileNames);
    // Updates produced since the last call, oldest first.
    [[nodiscard]] std::vector<HistoryUpdate> TakeUpdates();
    [[nodiscard]] HistoryProgress Progress() const;
    // Cancels the work in hand (the index keeps what was read) and ends the thread. Idempotent.
    void Stop();

private:
    struct Request {
        bool scan = true;
        std::string folder;
        std::vector<std::string> fileNames;
    };

    void Run();
    void DoScan(const std::string& folder);
    void DoRefresh(const std::vector<std::string>& fileNames);
    void LoadIndex(const std::string& folder);
    void SaveIndex();
    // After a refresh: the whole index is written at most every kIndexSaveSeconds (and at the end),
    // so a day of triggers does not rewrite a growing file at every one of them. The index is only
    // a cache: what a crash keeps out of it is read from the files at the next start.
    void SaveIndexSoon();
    static constexpr int kIndexSaveSeconds = 600;
    void Publish(HistoryUpdate update);
    bool ScanRequested();

    std::function<void()> notify_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> requests_;        // guarded by mutex_
    std::vector<HistoryUpdate> updates_;  // guarded by mutex_
    std::atomic<bool> stop_{false};
    std::atomic<bool> noticePending_{false};
    std::atomic<int> done_{0};
    std::atomic<int> total_{0};
    std::atomic<bool> busy_{false};
    std::thread thread_;

    // Worker thread only.
    std::string folder_;      // folder of the loaded index; empty before the first request
    HistoryIndex index_;
    bool indexDirty_ = false;
    std::chrono::steady_clock::time_point lastSave_{};
    IntensityCalculator calculator_;
};

}  // namespace app
