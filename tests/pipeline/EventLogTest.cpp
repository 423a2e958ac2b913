// The event log: stamp formats, the LOG_LIST switch and trimming of the list.
#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "pipeline/EventLog.h"

namespace {

class FakeList : public app::LogList {
public:
    void Append(const std::string& row) override { rows.push_back(row); }
    int Count() const override { return static_cast<int>(rows.size()); }
    void DeleteFirst() override {
        ASSERT_FALSE(rows.empty());
        rows.pop_front();
    }
    void SelectLast() override { selected = Count() - 1; }

    std::deque<std::string> rows;
    int selected = -1;
};

const app::LocalTime kTime{2026, 3, 7, 9, 5, 4};

}  // namespace

TEST(LogStamp, PcTimeAndRecorderComparisonFormats) {
    EXPECT_EQ(app::LogStamp(kTime, 0), " 03.07_09:05:04");
    EXPECT_EQ(app::LogStamp(kTime, 1), "PC260307090504");
    EXPECT_EQ(app::LogStamp({2031, 12, 31, 23, 59, 58}, 1), "PC311231235958");
}

TEST(AddLog, TwoRowsSelectedLastOrNothingWhenDisabled) {
    FakeList list;
    app::AddLog(list, true, "RCV-START", 0, kTime);
    app::AddLog(list, true, "TM26/03/07 09:05:03", 1, kTime);
    EXPECT_EQ(list.rows, (std::deque<std::string>{"RCV-START", " 03.07_09:05:04",
                                                  "TM26/03/07 09:05:03", "PC260307090504"}));
    EXPECT_EQ(list.selected, 3);

    FakeList off;
    app::AddLog(off, false, "RCV-START", 0, kTime);
    EXPECT_TRUE(off.rows.empty());
    EXPECT_EQ(off.selected, -1);
}

TEST(AddLog, The501stEventTrimsTheListTo502Rows) {
    FakeList list;
    for (int i = 1; i <= 500; ++i) app::AddLog(list, true, "E" + std::to_string(i), 0, kTime);
    EXPECT_EQ(list.Count(), 1000);  // not more than 1000: kept whole
    app::AddLog(list, true, "E501", 0, kTime);
    EXPECT_EQ(list.Count(), 502);
    EXPECT_EQ(list.rows.front(), "E251");
    EXPECT_EQ(list.rows[500], "E501");
    EXPECT_EQ(list.rows.back(), " 03.07_09:05:04");
}
