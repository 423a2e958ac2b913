// The stay-awake request follows the measurement: held from a successful start to its stop, never
// by a failed start, and released when the program ends in the middle of one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/StayAwake.h"

namespace {

struct FakeSystem : app::SystemAwake {
    std::vector<std::string> calls;
    void Hold() override { calls.push_back("hold"); }
    void Release() override { calls.push_back("release"); }
};

TEST(StayAwake, HeldWhileMeasuringOnly) {
    FakeSystem system;
    {
        app::AwakeWhileMeasuring awake(system);
        awake.Follow(false);  // a start that failed
        EXPECT_TRUE(system.calls.empty());
        awake.Follow(true);   // a start
        awake.Follow(true);   // a start request ignored while measuring holds nothing twice
        EXPECT_TRUE(awake.Held());
        awake.Follow(false);  // the stop
        EXPECT_EQ(system.calls, (std::vector<std::string>{"hold", "release"}));
        awake.Follow(true);
    }  // the program ends while measuring (the session ends, the process is told to go)
    EXPECT_EQ(system.calls, (std::vector<std::string>{"hold", "release", "hold", "release"}));

    system.calls.clear();
    { app::AwakeWhileMeasuring idle(system); }
    EXPECT_TRUE(system.calls.empty()) << "an exit while idle releases nothing it never held";
}

}  // namespace
