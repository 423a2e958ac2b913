// Trigger history worker: one request at a time from a queue, results handed over under a mutex,
// the owner told by its notice callback outside the lock.
#include "history/HistoryWorker.h"

#include <cstdio>
#include <memory>
#include <set>

namespace app {
namespace {

// Groups read between two saves of the index during a long first scan.
constexpr int kSaveEvery = 100;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The whole file, or none when it cannot be read.
std::optional<std::string> ReadAll(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[16 * 1024];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) bytes.append(chunk, got);
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

HistoryWorker::HistoryWorker(std::function<void()> notify) : notify_(std::move(notify)) {
    thread_ = std::thread([this] { Run(); });
}

HistoryWorker::~HistoryWorker() { Stop(); }

void HistoryWorker::Scan(const std::string& folder) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.clear();
        requests_.push_back({true, folder, {}});
        busy_ = true;
    }
    wake_.notify_one();
}

void HistoryWorker::Refresh(const std::string& folder, const std::vector<std::string>& fileNames) {
    if (fileNames.empty()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back({false, folder, fileNames});
        busy_ = true;
    }
    wake_.notify_one();
}

std::vector<HistoryUpdate> HistoryWorker::TakeUpdates() {
    noticePending_ = false;  // before taking: an update published after this gets its own notice
    std::vector<HistoryUpdate> taken;
    std::lock_guard<std::mutex> lock(mutex_);
    taken.swap(updates_);
    return taken;
}

HistoryProgress HistoryWorker::Progress() const {
    HistoryProgress p;
    p.done = done_;
    p.total = total_;
    p.busy = busy_;
    return p;
}

void HistoryWorker::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void HistoryWorker::Run() {
    try {
        for (;;) {
            Request request;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stop_ || !requests_.empty(); });
                if (stop_) break;
                request = requests_.front();
                requests_.pop_front();
            }
            if (request.scan || request.folder != folder_) DoScan(request.folder);
            else DoRefresh(request.fileNames);
            bool idle = false;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                idle = requests_.empty();
                if (idle) busy_ = false;
            }
            // Even with a notice pending: it may have been read while busy_ was still true.
            if (idle) {
                noticePending_ = true;
                notify_();
            }
        }
        if (indexDirty_) SaveIndex();  // keep what a cancelled scan had read
    } catch (...) {
        // No exception leaves the thread; the history simply stops growing.
        busy_ = false;
    }
}

bool HistoryWorker::ScanRequested() {
    std::lock_guard<std::mutex> lock(mutex_);
    return !requests_.empty() && requests_.front().scan;
}

void HistoryWorker::Publish(HistoryUpdate update) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        updates_.push_back(std::move(update));
    }
    if (!noticePending_.exchange(true)) notify_();
}

void HistoryWorker::LoadIndex(const std::string& folder) {
    if (indexDirty_) SaveIndex();  // the previous folder's index first
    folder_ = folder;
    index_.clear();
    indexDirty_ = false;
    const std::optional<std::string> bytes = ReadAll(files::JoinFolder(folder, kHistoryIndexName));
    if (!bytes) return;
    if (std::optional<HistoryIndex> parsed = ParseHistoryIndex(*bytes)) index_ = std::move(*parsed);
    else indexDirty_ = true;  // damaged: rewritten from the files at the end of the scan
}

void HistoryWorker::SaveIndexSoon() {
    indexDirty_ = true;
    if (std::chrono::steady_clock::now() - lastSave_ >= std::chrono::seconds(kIndexSaveSeconds)) SaveIndex();
}

void HistoryWorker::SaveIndex() {
    indexDirty_ = false;
    lastSave_ = std::chrono::steady_clock::now();
    const std::string target = files::JoinFolder(folder_, kHistoryIndexName);
    const std::string temporary = target + ".tmp";
    // Written beside and then put in place, so a full disk or a crash never leaves half an index.
    if (!WriteAll(temporary, FormatHistoryIndex(index_)) || !files::MoveReplacing(temporary, target))
        files::RemoveFile(temporary);
}

void HistoryWorker::DoScan(const std::string& folder) {
    if (folder != folder_) LoadIndex(folder);
    HistoryUpdate reset;
    reset.reset = true;
    reset.folder = folder;
    done_ = 0;
    total_ = 0;
    const std::optional<std::vector<files::FileStamp>> listing = files::ListFolder(folder);
    if (!listing) {  // no Trig.dt (yet): an empty history, and nothing is written
        index_.clear();
        indexDirty_ = false;
        Publish(std::move(reset));
        return;
    }
    const std::vector<GroupFiles> groups = GroupTriggerFiles(*listing);
    std::set<std::string> present;
    for (const GroupFiles& g : groups) present.insert(g.key);
    for (auto it = index_.begin(); it != index_.end();) {
        if (present.count(it->first)) {
            ++it;
        } else {
            it = index_.erase(it);
            indexDirty_ = true;
        }
    }
    std::vector<const GroupFiles*> pending;
    for (const GroupFiles& g : groups) {
        const auto known = index_.find(g.key);
        if (known != index_.end() && known->second.files == g.files) reset.groups.push_back({g.key, known->second.events});
        else pending.push_back(&g);
    }
    total_ = static_cast<int>(pending.size());
    Publish(std::move(reset));

    int sinceSave = 0;
    for (const GroupFiles* g : pending) {
        if (stop_ || ScanRequested()) break;
        std::vector<TriggerEvent> events;
        const GroupRead r = ReadGroupEvents(folder, *g, calculator_, events, stop_);
        if (r == GroupRead::Cancelled) break;
        ++done_;
        if (r == GroupRead::Unreadable) {
            // Possibly still being written; a later scan or the recording's end reads it.
            if (index_.erase(g->key)) indexDirty_ = true;
            continue;
        }
        index_[g->key] = IndexedGroup{g->files, events};
        indexDirty_ = true;
        HistoryUpdate update;
        update.folder = folder;
        update.groups.push_back({g->key, std::move(events)});
        Publish(std::move(update));
        if (++sinceSave >= kSaveEvery) {
            SaveIndex();
            sinceSave = 0;
        }
    }
    if (indexDirty_) SaveIndex();
}

void HistoryWorker::DoRefresh(const std::vector<std::string>& fileNames) {
    const std::string& fileName = fileNames.front();
    std::vector<files::FileStamp> stamps;
    for (const std::string& name : fileNames)
        if (std::optional<files::FileStamp> s = files::StampFile(folder_, name)) stamps.push_back(std::move(*s));
    HistoryUpdate update;
    update.folder = folder_;
    // Grouped by the rule a scan uses, so the next scan finds the group unchanged.
    for (const GroupFiles& g : GroupTriggerFiles(stamps)) {
        if (g.key != fileName) continue;
        done_ = 0;
        total_ = 1;
        std::vector<TriggerEvent> events;
        const GroupRead r = ReadGroupEvents(folder_, g, calculator_, events, stop_);
        done_ = 1;
        if (r != GroupRead::Ok) return;
        index_[g.key] = IndexedGroup{g.files, events};
        update.groups.push_back({g.key, std::move(events)});
        Publish(std::move(update));
        SaveIndexSoon();
        return;
    }
    if (index_.erase(fileName)) SaveIndexSoon();
    update.removed.push_back(fileName);
    Publish(std::move(update));
}

}  // namespace app
