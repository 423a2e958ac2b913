// The running program's trigger history: worker, list, notices and the export's file.
#include "history/HistoryKeeper.h"

#include <cstdio>

#include "files/Folder.h"

namespace app {

HistoryKeeper::HistoryKeeper(std::function<std::string()> folder) : folder_(std::move(folder)) {}

HistoryKeeper::~HistoryKeeper() = default;

void HistoryKeeper::Start(std::function<void()> notify) {
    worker_ = std::make_unique<HistoryWorker>(std::move(notify));
    worker_->Scan(folder_());
}

void HistoryKeeper::Stop() {
    if (worker_) worker_->Stop();  // the worker never sends to this thread: waiting cannot block it
    worker_.reset();
}

void HistoryKeeper::Rescan() {
    if (worker_ && (!worker_->Progress().busy || list_.Folder() != folder_())) worker_->Scan(folder_());
}

void HistoryKeeper::OnNotice(HistoryView* view) {
    if (!worker_) return;
    std::vector<HistoryUpdate> updates = worker_->TakeUpdates();
    if (view) view->RememberSelection();
    for (const HistoryUpdate& update : updates) list_.Apply(update);
    if (view) view->Refresh();
}

void HistoryKeeper::OnTriggerRecordingEnded(const std::vector<std::string>& paths) {
    // Files that went into the data folder itself (Trig.dt could not be made) are not found there,
    // so they change nothing.
    if (!worker_ || paths.empty()) return;
    std::vector<std::string> names;
    for (const std::string& path : paths) names.push_back(files::NameOf(path));
    worker_->Refresh(folder_(), names);
}

HistoryProgress HistoryKeeper::Progress() const { return worker_ ? worker_->Progress() : HistoryProgress{}; }

void SortHistory(TriggerHistoryList& list, int column, HistoryView& view) {
    if (column < 0 || column >= kHistoryColumnCount) return;
    view.RememberSelection();
    list.SortBy(static_cast<HistoryColumn>(column));
    view.Refresh();
}

std::string HistoryExportBytes(const std::vector<const TriggerEvent*>& rows,
                               const std::function<std::string(const std::string&)>& toUtf8) {
    return "\xEF\xBB\xBF" + toUtf8(HistoryCsv(rows));
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) written = false;
    return written;
}

}  // namespace app
