// Putting a saved window placement back: the plan, the nearest monitor and the clamp.
#include "config/Settings.h"
#include "config/WindowPlacement.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

WindowPlacementRecord Record(int show, PlacementRect normal) {
    WindowPlacementRecord r;
    r.showState = show;
    r.normal = normal;
    r.minX = -1;
    r.minY = -2;
    r.maxX = -8;
    r.maxY = -30;
    return r;
}

TEST(PlanRestore, EmptyRecordLeavesTheWindowAlone) {
    EXPECT_FALSE(PlanRestore(WindowPlacementRecord{}, 300, 200, false));
    EXPECT_FALSE(PlanRestore(Record(1, {100, 100, 100, 400}), 300, 200, false));
    EXPECT_FALSE(PlanRestore(Record(1, {100, 100, 400, 50}), 300, 200, true));
}

TEST(PlanRestore, MaximisedStaysMaximisedAndMinimisedComesBackNormal) {
    auto max = PlanRestore(Record(3, {10, 20, 650, 500}), 1, 1, false);
    ASSERT_TRUE(max);
    EXPECT_EQ(max->showCommand, 3);
    EXPECT_EQ(max->normal, (PlacementRect{10, 20, 650, 500}));
    EXPECT_EQ(max->maxY, -30);
    EXPECT_EQ(max->minX, -1);
    EXPECT_EQ(PlanRestore(Record(2, {10, 20, 650, 500}), 1, 1, false)->showCommand, 1);
    EXPECT_EQ(PlanRestore(Record(1, {10, 20, 650, 500}), 1, 1, false)->showCommand, 1);
}

TEST(PlanRestore, KeepSizeTakesOnlyTheOrigin) {
    auto plan = PlanRestore(Record(1, {10, 20, 650, 500}), 300, 200, true);
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->normal, (PlacementRect{10, 20, 310, 220}));
}

const PlacementRect kPrimary{0, 0, 1920, 1080};

TEST(MoveIntoMonitor, ShiftsWithoutResizing) {
    EXPECT_EQ(MoveIntoMonitor({100, 80, 740, 560}, kPrimary), (PlacementRect{100, 80, 740, 560}));
    EXPECT_EQ(MoveIntoMonitor({1800, 900, 2440, 1380}, kPrimary),
              (PlacementRect{1280, 600, 1920, 1080}));
    EXPECT_EQ(MoveIntoMonitor({-300, -50, 340, 430}, kPrimary), (PlacementRect{0, 0, 640, 480}));
}

TEST(MoveIntoMonitor, LargerThanTheMonitorAlignsTopLeft) {
    EXPECT_EQ(MoveIntoMonitor({500, 400, 2900, 2000}, kPrimary),
              (PlacementRect{0, 0, 2400, 1600}));
    EXPECT_EQ(MoveIntoMonitor({-5000, -5000, -2000, -3000}, kPrimary),
              (PlacementRect{0, 0, 3000, 2000}));
}

TEST(MoveIntoMonitor, ExtremeCoordinatesDoNotOverflow) {
    PlacementRect r = MoveIntoMonitor({INT_MAX - 10, INT_MIN, INT_MAX, INT_MAX}, kPrimary);
    EXPECT_EQ(r.left, 1910);  // width 10 kept, moved to the right edge
    EXPECT_EQ(r.top, 0);
}

TEST(NearestMonitor, OverlapWinsThenDistance) {
    const std::vector<PlacementRect> two = {kPrimary, {1920, 0, 3840, 1080}};
    EXPECT_EQ(NearestMonitor({1800, 0, 2400, 400}, two), 1u);  // more of it on the second
    EXPECT_EQ(NearestMonitor({1700, 0, 2000, 400}, two), 0u);
    EXPECT_EQ(NearestMonitor({5000, 100, 5600, 500}, two), 1u);
    EXPECT_EQ(NearestMonitor({-900, 100, -300, 500}, two), 0u);
    EXPECT_FALSE(NearestMonitor({0, 0, 10, 10}, {}));
}

TEST(PlaceOnMonitors, WindowOfAMonitorThatIsGoneComesBackOnTheNearestOne) {
    // Saved on a second monitor at the right that is no longer attached.
    PlacementRect saved{2200, 300, 2840, 780};
    PlacementRect placed = PlaceOnMonitors(saved, {kPrimary});
    EXPECT_EQ(placed, (PlacementRect{1280, 300, 1920, 780}));
    // A monitor at negative coordinates, left of the primary.
    PlacementRect left = PlaceOnMonitors({-3000, 100, -2360, 580}, {kPrimary, {-1280, 0, 0, 1024}});
    EXPECT_EQ(left, (PlacementRect{-1280, 100, -640, 580}));
    EXPECT_EQ(PlaceOnMonitors(saved, {}), saved);
}

}  // namespace
