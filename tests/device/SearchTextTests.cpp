// Port search dialog texts and the handling of its progress reports.
#include <gtest/gtest.h>

#include "device/SearchText.h"

using namespace device;

TEST(SearchText, StatusTextsForEachStage) {
    EXPECT_EQ(SearchStatusText(0, ProbeStage::Probing), "COM1 を調べています・・・");
    EXPECT_EQ(SearchStatusText(9, ProbeStage::Unusable), "COM10 使用不可能");
    EXPECT_EQ(SearchStatusText(29, ProbeStage::Usable), "COM30 使用可能");
    EXPECT_EQ(SearchStatusText(30, ProbeStage::Usable), "");
    EXPECT_EQ(SearchStatusText(-1, ProbeStage::Probing), "");
    EXPECT_STREQ(kTextNoUsablePort, "使用可能な通信ポートが見つかりません。");
}

TEST(SearchText, OnlyUsableReportsAddPortsInTheOrderReported) {
    std::vector<std::string> found;
    EXPECT_EQ(ApplySearchProgress(2, 0, found), "COM3 を調べています・・・");
    EXPECT_TRUE(found.empty());
    EXPECT_EQ(ApplySearchProgress(2, 2, found), "COM3 使用可能");
    EXPECT_EQ(ApplySearchProgress(3, 1, found), "COM4 使用不可能");
    EXPECT_EQ(ApplySearchProgress(4, 2, found), "COM5 使用可能");
    EXPECT_EQ(found, (std::vector<std::string>{"COM3", "COM5"}));
}

TEST(SearchText, MalformedReportsChangeNothing) {
    std::vector<std::string> found{"COM2"};
    // The end marker with all bits set, and values no search thread sends.
    EXPECT_EQ(ApplySearchProgress(-1, 0, found), "");
    EXPECT_EQ(ApplySearchProgress(static_cast<int64_t>(0xFFFFFFFFu), 2, found), "");
    EXPECT_EQ(ApplySearchProgress(30, 2, found), "");
    EXPECT_EQ(ApplySearchProgress(5, 3, found), "");
    EXPECT_EQ(ApplySearchProgress(5, -1, found), "");
    // Valid only in their low 32 bits: a narrowing before the check would take them for COM3, usable.
    EXPECT_EQ(ApplySearchProgress((int64_t{1} << 32) + 2, 2, found), "");
    EXPECT_EQ(ApplySearchProgress(2, (int64_t{1} << 32) + 2, found), "");
    EXPECT_EQ(found, (std::vector<std::string>{"COM2"}));
}
