// Port search: order, progress reports and cancelling.
#include <gtest/gtest.h>

#include <atomic>

#include "device/PortSearch.h"

using namespace device;

TEST(PortSearch, ListsUsablePortsInAscendingOrderWithProgress) {
    std::atomic<int32_t> keep{1};
    std::vector<std::string> probed;
    std::vector<std::pair<int, ProbeStage>> progress;
    const auto found = SearchComPorts(
        [&](const std::string& n) { probed.push_back(n); return n == "COM3" || n == "COM12"; },
        [&](int i, ProbeStage s) { progress.emplace_back(i, s); }, keep);
    EXPECT_EQ(found, (std::vector<std::string>{"COM3", "COM12"}));
    ASSERT_EQ(probed.size(), 30u);
    EXPECT_EQ(probed.back(), "COM30");
    ASSERT_EQ(progress.size(), 60u);
    EXPECT_EQ(progress[4], std::make_pair(2, ProbeStage::Probing));
    EXPECT_EQ(progress[5], std::make_pair(2, ProbeStage::Usable));
    EXPECT_EQ(progress[1], std::make_pair(0, ProbeStage::Unusable));
}

TEST(PortSearch, CancelFinishesThePortInProgress) {
    std::atomic<int32_t> keep{1};
    const auto found = SearchComPorts(
        [&](const std::string& n) {
            if (n == "COM10") keep = 0;  // cancel pressed while COM10 is probed
            return n == "COM5" || n == "COM10" || n == "COM11";
        },
        nullptr, keep);
    EXPECT_EQ(found, (std::vector<std::string>{"COM5", "COM10"}));
}

TEST(PortSearch, NothingUsable) {
    std::atomic<int32_t> keep{1};
    EXPECT_TRUE(SearchComPorts([](const std::string&) { return false; }, nullptr, keep).empty());
    keep = 0;
    int probes = 0;
    EXPECT_TRUE(SearchComPorts([&](const std::string&) { return ++probes, true; }, nullptr, keep).empty());
    EXPECT_EQ(probes, 0);
}
