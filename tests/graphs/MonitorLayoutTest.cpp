// The monitors' geometry, label rules and menus, without windows.
#include <gtest/gtest.h>

#include "graphs/MonitorLayout.h"

using namespace monitor;

TEST(MonitorPanes, PanelRightPsdBesideItWhenOn) {
    EXPECT_EQ(MissingWidth(700, 600, 300, true), 200);
    EXPECT_EQ(MissingWidth(700, 600, 300, false), 0);
    const PaneBoxes on = LayOutPanes({1000, 500}, 200, 300, true);
    EXPECT_EQ(on.panel.x, 800);
    EXPECT_EQ(on.psd.x, 500);
    EXPECT_EQ(on.psd.w, 300);
    EXPECT_EQ(on.wave.w, 500);
    EXPECT_EQ(on.wave.h, 500);
    const PaneBoxes off = LayOutPanes({1000, 500}, 200, 300, false);
    EXPECT_EQ(off.psd.w, 0);
    EXPECT_EQ(off.wave.w, 800);
}

TEST(MonitorRows, RowsStackAndFieldsStandRightOfTheGraphs) {
    TimeRowSizes t[3];
    for (auto& s : t) s = {{40, 14}, {40, 14}, {20, 30}, {40, 14}, {30, 14}, {30, 14}, {90, 30}, {90, 30}, {90, 30}};
    const TimeLayout time = LayOutTimeMonitor({800, 600}, t, 20);
    for (int i = 0; i < 3; ++i) {
        const TimeRowPlaces& r = time.rows[i];
        EXPECT_EQ(r.xLeft.y, r.graph.y + r.graph.h);  // the time labels hang under the graph
        EXPECT_GT(r.maxField.x, r.graph.x + r.graph.w);
        EXPECT_LE(r.maxField.x + 90, 800);
        EXPECT_LT(r.unitBottom, r.yBottomTop);
        if (i > 0) {
            EXPECT_GT(r.graph.y, time.rows[i - 1].xLeft.y);
        }
    }
    EXPECT_GT(time.scroll.y, time.rows[2].xLeft.y);
    EXPECT_EQ(time.labelColumnX + 20, time.rows[0].graph.x);

    PsdRowSizes p[3];
    for (auto& s : p) s = {{40, 14}, {40, 14}, {20, 30}, {40, 14}, {30, 14}, {30, 14}, {60, 24}, {60, 24}, {25, 14}};
    const PsdLayout psd = LayOutPsdMonitor({300, 600}, p);
    for (int i = 0; i < 3; ++i) {
        const PsdRowPlaces& r = psd.rows[i];
        EXPECT_GE(r.graph.y, r.freqField.y + 24);  // the peak fields stand above the spectrum
        EXPECT_LT(r.freqField.x + 60, r.valueField.x);
        EXPECT_EQ(r.decadeLabelY, r.graph.y + r.graph.h);
        if (i > 0) {
            EXPECT_GT(r.caption.y, psd.rows[i - 1].decadeLabelY);
        }
    }
    EXPECT_LE(psd.rows[2].decadeLabelY + 14, 600);
}

TEST(LevelLabels, ZeroFirstThenLevelsClearOfIt) {
    LevelLabelInput in{100, 60, 140, 12, 12, 20, 200, true};
    LevelLabelPlaces p = PlaceLevelLabels(in);
    EXPECT_TRUE(p.zeroMoved);
    EXPECT_EQ(p.zeroY, 94);
    EXPECT_TRUE(p.upperShown);
    EXPECT_TRUE(p.lowerShown);
    // Levels close to zero would cover the zero label.
    in.upperRow = 95;
    in.lowerRow = 105;
    p = PlaceLevelLabels(in);
    EXPECT_TRUE(p.levelsMoved);
    EXPECT_FALSE(p.upperShown);
    EXPECT_FALSE(p.lowerShown);
    // Zero off the graph: the levels need only fit between the labels.
    in.zeroRow = 500;
    p = PlaceLevelLabels(in);
    EXPECT_FALSE(p.zeroMoved);
    EXPECT_TRUE(p.upperShown);
    EXPECT_TRUE(p.lowerShown);
    in.upperRow = 20;  // into the unit label
    EXPECT_FALSE(PlaceLevelLabels(in).upperShown);
    in.levelsOn = false;
    p = PlaceLevelLabels(in);
    EXPECT_FALSE(p.levelsMoved);
    EXPECT_FALSE(p.upperShown || p.lowerShown);
}

TEST(DecadeLabels, ShownOnlyBetweenTheEndLabels) {
    const auto places = PlaceDecadeLabels({50, 100, 300, 10, 16, 60, 330});
    ASSERT_EQ(places.size(), 2u);
    EXPECT_EQ(places[0].x, 142);
    EXPECT_TRUE(places[0].shown);
    EXPECT_EQ(places[1].x, 332);
    EXPECT_FALSE(places[1].shown);
}

TEST(MonitorMenus, CommandsSetTheScaleAndAxisSettings) {
    Settings s;
    s.acc = {1, 2, 5, 10, 20, 50, 100, 200};
    s.accz = {3, 6, 9, 12, 15, 18, 21, 2000};
    s.accSel = 1;
    s.acczSel = 7;
    const auto z = ScaleMenu(s, 2);
    ASSERT_EQ(z.size(), 11u);
    EXPECT_EQ(z[8].text, "スケール 2000.0(gal)");
    EXPECT_TRUE(z[8].checked);
    EXPECT_FALSE(ScaleMenu(s, 0)[8].checked);
    EXPECT_EQ(z[7].text, "スケール  21.0(gal)");
    EXPECT_EQ(z[8].command, 9);
    EXPECT_EQ(z[9].command, 0);  // separator before the grid item

    s.accAuto = 1;
    ApplyScaleCommand(s, 2, 4);
    EXPECT_EQ(s.accAuto, 0);
    EXPECT_EQ(s.acczSel, 2);
    EXPECT_EQ(s.accSel, 1);
    ApplyScaleCommand(s, 0, 1);
    EXPECT_EQ(s.accAuto, 1);
    EXPECT_FALSE(ScaleMenu(s, 2)[3].checked);  // automatic: no fixed scale checked
    ApplyScaleCommand(s, 0, 10);
    EXPECT_EQ(s.memoryDisp, 1);

    const auto axis = AxisMenu(s);
    ASSERT_EQ(axis.size(), 8u);
    EXPECT_TRUE(axis[0].checked);
    EXPECT_TRUE(axis[7].checked);
    ApplyAxisCommand(s, 6);
    EXPECT_EQ(s.xType, 5);
    ApplyAxisCommand(s, 7);
    EXPECT_EQ(s.memoryDisp, 0);
}
