// The running program's history over a real folder: the first reading reaches the list with the
// window told before and after, a finished trigger recording is read again, a heading click, and
// the export's file.
#include <gtest/gtest.h>

#include "HistoryFiles.h"
#include "history/HistoryKeeper.h"

namespace app {
namespace {

using history_test::ScratchFolder;

struct Calls : HistoryView {
    std::vector<std::string> calls;
    void RememberSelection() override { calls.push_back("remember"); }
    void Refresh() override { calls.push_back("refresh"); }
};

class Keeper : public ::testing::Test {
protected:
    ~Keeper() override { keeper.Stop(); }
    void Start() { keeper.Start([this] { notices_.Notify(); }); }

    // Waits (bounded) for the worker's notice and its end of work, then hands it over as the
    // main window would.
    void Settle() {
        ASSERT_TRUE(notices_.WaitIdle([this] { return !keeper.Progress().busy; }));
        keeper.OnNotice(&view);
    }
    void Record(const std::string& name, const std::string& stamp) {
        const std::vector<double> v(300, 1.5);
        history_test::WriteBytes(dir.File(name), history_test::TriggerHeader(stamp) +
                                                     history_test::SampleLines(v, v, v, 0, 300));
    }

    history_test::Notices notices_;
    ScratchFolder dir;
    Calls view;
    HistoryKeeper keeper{[this] { return dir.Path(); }};
};

TEST_F(Keeper, ReadingsReachTheListAndTheExportIsWritten) {
    Record("20240506_123456.csv", "2024.05.06_12:34:56");
    Start();
    Settle();
    EXPECT_EQ(keeper.List().Size(), 1u);
    ASSERT_GE(view.calls.size(), 2u);
    EXPECT_EQ(view.calls.front(), "remember");
    EXPECT_EQ(view.calls.back(), "refresh");

    Record("20240507_080000.csv", "2024.05.07_08:00:00");
    keeper.OnTriggerRecordingEnded({dir.File("20240507_080000.csv")});
    Settle();
    EXPECT_EQ(keeper.List().Size(), 2u);

    view.calls.clear();
    SortHistory(keeper.List(), kHistoryColumnCount, view);
    EXPECT_TRUE(view.calls.empty()) << "no such column";
    SortHistory(keeper.List(), static_cast<int>(HistoryColumn::Time), view);  // the column in force: flips
    EXPECT_TRUE(keeper.List().Ascending());
    EXPECT_EQ(view.calls, (std::vector<std::string>{"remember", "refresh"}));

    const std::string bytes = HistoryExportBytes(keeper.List().Rows(), [](const std::string& t) { return t; });
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_TRUE(WriteWholeFile(dir.File("out.csv"), bytes));
    EXPECT_EQ(history_test::ReadBytes(dir.File("out.csv")), bytes);
    EXPECT_FALSE(WriteWholeFile(dir.File("missing/out.csv"), bytes));
}

}  // namespace
}  // namespace app
