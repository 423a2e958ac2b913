// The history worker over a real folder: the first scan reads every file and writes the index; a
// restart takes everything from the index; a damaged or missing index is rebuilt; changed, new and
// deleted files are followed; a folder that does not exist gives an empty history; a stop cuts a
// scan short and keeps what was read.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>

#include "HistoryFiles.h"
#include "history/HistoryWorker.h"

namespace app {
namespace {

using history_test::ReadBytes;
using history_test::SampleLines;
using history_test::ScratchFolder;
using history_test::TriggerHeader;
using history_test::WriteBytes;

// A worker whose notices land in a list the test waits on, as the window's messages would.
class Harness {
public:
    Harness() : worker_([this] { notices_.Notify(); }) {}

    // Waits (bounded) until the worker is idle and its updates were taken; applies them.
    void Settle() {
        ASSERT_TRUE(notices_.WaitIdle([this] { return !worker_.Progress().busy; })) << "worker still busy";
        for (const HistoryUpdate& u : worker_.TakeUpdates()) {
            list.Apply(u);
            ++updates;
        }
    }

    HistoryWorker& Worker() { return worker_; }
    std::vector<std::string> Files() {
        std::vector<std::string> out;
        for (const TriggerEvent* e : list.Rows()) out.push_back(HistoryCellText(*e, HistoryColumn::File));
        return out;
    }

    TriggerHistoryList list;
    int updates = 0;

private:
    history_test::Notices notices_;
    HistoryWorker worker_;  // last: its thread stops before the members it notifies go
};

void WriteEvent(const ScratchFolder& dir, const std::string& stem, double amplitude, std::size_t n = 300) {
    std::vector<double> x(n), zero(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) x[i] = amplitude * ((i / 25) % 2 ? 1.0 : -1.0);
    WriteBytes(dir.File(stem + ".csv"), TriggerHeader(stem.substr(0, 4) + "." + stem.substr(4, 2) + "." +
                                                      stem.substr(6, 2) + "_" + stem.substr(9, 2) + ":" +
                                                      stem.substr(11, 2) + ":" + stem.substr(13, 2)) +
                                            SampleLines(x, zero, zero));
}

TEST(HistoryWorker, ScanRestartDamagedIndexAndChanges) {
    ScratchFolder dir;
    WriteEvent(dir, "20240506_120000", 10.0);
    WriteEvent(dir, "20240506_130000", 200.0);
    WriteEvent(dir, "20240506_140000", 50.0);
    const std::string indexPath = dir.File(kHistoryIndexName);

    std::vector<std::string> rows;
    {
        Harness h;
        h.Worker().Scan(dir.Path());
        h.Settle();
        rows = h.Files();
        EXPECT_EQ(rows, (std::vector<std::string>{"20240506_140000.csv", "20240506_130000.csv", "20240506_120000.csv"}));
        EXPECT_EQ(h.Worker().Progress().total, 3);
        EXPECT_TRUE(ParseHistoryIndex(ReadBytes(indexPath)));
    }
    const std::string index = ReadBytes(indexPath);
    {   // A restart: everything comes from the index, in the first (reset) update.
        Harness h;
        h.Worker().Scan(dir.Path());
        h.Settle();
        EXPECT_EQ(h.Files(), rows);
        EXPECT_EQ(h.Worker().Progress().total, 0);
        EXPECT_EQ(ReadBytes(indexPath), index);  // unchanged, not even rewritten differently
    }
    for (const std::string& damage : {std::string(), index.substr(0, index.size() / 2), std::string("garbage")}) {
        if (damage.empty()) std::remove(indexPath.c_str());
        else WriteBytes(indexPath, damage);
        Harness h;
        h.Worker().Scan(dir.Path());
        h.Settle();
        EXPECT_EQ(h.Files(), rows);
        EXPECT_EQ(h.Worker().Progress().total, 3) << "not rebuilt";
        EXPECT_EQ(ReadBytes(indexPath), index) << "index not rewritten";
    }
    {   // Changes while the program runs: a file grows, one is deleted, a new recording ends.
        Harness h;
        h.Worker().Scan(dir.Path());
        h.Settle();
        WriteEvent(dir, "20240506_120000", 10.0, 900);
        std::remove(dir.File("20240506_130000.csv").c_str());
        WriteEvent(dir, "20240506_150000", 80.0);
        h.Worker().Refresh(dir.Path(), {"20240506_150000.csv"});
        h.Settle();
        EXPECT_EQ(h.list.Size(), 4u) << "a refresh reads only its own group";
        h.Worker().Refresh(dir.Path(), {"20240506_130000.csv"});
        h.Settle();
        EXPECT_EQ(h.Files(), (std::vector<std::string>{"20240506_150000.csv", "20240506_140000.csv", "20240506_120000.csv"}));
        h.Worker().Scan(dir.Path());
        h.Settle();
        EXPECT_EQ(h.Worker().Progress().total, 1);  // only the grown file is read again
        h.list.SortBy(HistoryColumn::Duration);
        EXPECT_EQ(HistoryCellText(*h.list.Rows().front(), HistoryColumn::Duration), "9.00");
    }
    {   // The next start agrees with what the running program showed.
        Harness h;
        h.Worker().Scan(dir.Path());
        h.Settle();
        EXPECT_EQ(h.Worker().Progress().total, 0);
        EXPECT_EQ(h.list.Size(), 3u);
    }
}

TEST(HistoryWorker, MissingFolderGivesAnEmptyHistoryAndCreatesNothing) {
    ScratchFolder dir;
    const std::string missing = dir.File("Trig.dt");
    Harness h;
    h.Worker().Scan(missing);
    h.Settle();
    EXPECT_EQ(h.list.Size(), 0u);
    EXPECT_FALSE(files::ListFolder(missing));
    // The folder appears with the first trigger recording; its refresh scans it.
    ASSERT_TRUE(std::filesystem::create_directory(missing));
    WriteBytes(files::JoinFolder(missing, "20240506_120000.csv"), TriggerHeader("2024.05.06_12:00:00") + "1,2,3\r\n");
    h.Worker().Refresh(missing, {"20240506_120000.csv"});
    h.Settle();
    EXPECT_EQ(h.list.Size(), 1u);
}

// A finished recording names its files: the refresh reads every part of it, and the index that
// the stop writes lets the next start take the group from there.
TEST(HistoryWorker, ARefreshReadsTheRecordingsPartsAndTheStopKeepsThemIndexed) {
    ScratchFolder dir;
    WriteEvent(dir, "20240506_120000", 10.0);
    {
        Harness h;
        h.Worker().Scan(dir.Path());
        h.Settle();
        WriteEvent(dir, "20240506_130000", 20.0);
        const std::vector<double> x(200, 30.0), zero(200, 0.0);
        WriteBytes(dir.File("20240506_130000-1.csv"), TriggerHeader("2024.05.06_13:00:03") + SampleLines(x, zero, zero));
        h.Worker().Refresh(dir.Path(), {"20240506_130000.csv", "20240506_130000-1.csv"});
        h.Settle();
        ASSERT_EQ(h.list.Size(), 2u);
        h.list.SortBy(HistoryColumn::Duration);
        EXPECT_EQ(HistoryCellText(*h.list.Rows().front(), HistoryColumn::Duration), "5.00");
    }
    Harness h;
    h.Worker().Scan(dir.Path());
    h.Settle();
    EXPECT_EQ(h.Worker().Progress().total, 0) << "the refreshed group was not in the index";
    EXPECT_EQ(h.list.Size(), 2u);
}

TEST(HistoryWorker, StopsPromptlyInTheMiddleOfAScan) {
    ScratchFolder dir;
    constexpr std::size_t kGroups = 30;
    for (std::size_t i = 0; i < kGroups; ++i)
        WriteEvent(dir, "20240506_1200" + std::string(i < 10 ? "0" : "") + std::to_string(i), 10.0, 3000);
    // The worker is held at the notice of its first group read until the stop has been asked for.
    std::mutex m;
    std::condition_variable cv;
    bool held = false, released = false;
    std::set<std::string> published;
    HistoryWorker* self = nullptr;
    auto take = [&] {
        for (const HistoryUpdate& u : self->TakeUpdates())
            for (const auto& group : u.groups) published.insert(group.first);
    };
    HistoryWorker worker([&] {
        std::unique_lock<std::mutex> lock(m);
        take();
        if (held || published.empty()) return;
        held = true;
        cv.notify_all();
        cv.wait(lock, [&] { return released; });
    });
    self = &worker;
    worker.Scan(dir.Path());
    {
        std::unique_lock<std::mutex> lock(m);
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(60), [&] { return held; })) << "no group read";
        released = true;
    }
    cv.notify_all();
    worker.Stop();  // returns once the thread has ended
    take();
    const std::optional<HistoryIndex> index = ParseHistoryIndex(ReadBytes(dir.File(kHistoryIndexName)));
    ASSERT_TRUE(index) << "the index written at the stop does not read back";
    std::set<std::string> indexed;
    for (const auto& [key, group] : *index) {
        indexed.insert(key);
        EXPECT_EQ(group.events.at(0).samples, 3000) << key << " indexed from a cut read";
    }
    EXPECT_EQ(indexed, published) << "the index does not keep exactly what was read";
    EXPECT_LE(indexed.size(), kGroups / 3) << "the stop did not cut the scan short";
}

}  // namespace
}  // namespace app
