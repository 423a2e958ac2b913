// Launcher geometry and the INI read order, defaults and button limit.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "launcher/LauncherConfig.h"
#include "launcher/LauncherLayout.h"

namespace launcher {
namespace {

// An in-memory profile that records the order of reads.
class FakeProfile : public ProfileReader {
public:
    std::map<std::string, std::string> values;  // "SECTION/KEY" -> text
    std::vector<std::string> reads;

    std::string GetString(const char* section, const char* key, const char* def, int bufferSize) override {
        reads.push_back(std::string(section) + "/" + key);
        auto it = values.find(std::string(section) + "/" + key);
        std::string text = it == values.end() ? def : it->second;
        if (static_cast<int>(text.size()) > bufferSize - 1) text.resize(bufferSize - 1);
        return text;
    }
    int GetInt(const char* section, const char* key, int def) override {
        reads.push_back(std::string(section) + "/" + key);
        auto it = values.find(std::string(section) + "/" + key);
        return it == values.end() ? def : std::stoi(it->second);
    }
};

TEST(LauncherConfig, DefaultsWithoutFileGiveOneExitButton) {
    FakeProfile profile;
    LauncherConfig c = LoadLauncherConfig(profile);
    EXPECT_EQ(c.title, "");
    EXPECT_EQ(c.topMargin, 32);
    EXPECT_EQ(c.bottomMargin, 32);
    EXPECT_EQ(c.leftMargin, 32);
    EXPECT_EQ(c.rightMargin, 32);
    EXPECT_EQ(c.spaceY, 8);
    EXPECT_EQ(c.backImage, "");
    ASSERT_EQ(c.ShownButtons(), 1);
    EXPECT_EQ(c.buttons[0].text, "Exit");
    EXPECT_EQ(c.buttons[0].exe, "");
}

TEST(LauncherConfig, ReadsInFixedOrder) {
    FakeProfile profile;
    profile.values["SPEC/BTN_COUNT"] = "2";
    LoadLauncherConfig(profile);
    const std::vector<std::string> expected = {
        "SPEC/TITLE", "SPEC/TOP_MARGIN", "SPEC/BOTTOM_MARGIN", "SPEC/LEFT_MARGIN", "SPEC/RIGHT_MARGIN",
        "SPEC/SPACE_Y", "SPEC/BACK_IMAGE", "SPEC/BTN_COUNT", "BTN1/TEXT", "BTN1/EXE", "BTN2/TEXT", "BTN2/EXE"};
    EXPECT_EQ(profile.reads, expected);
}

TEST(LauncherConfig, CountAboveTableUsesFirst32AndNegativeUsesNone) {
    FakeProfile profile;
    profile.values["SPEC/BTN_COUNT"] = "40";
    profile.values["BTN32/TEXT"] = "last";
    profile.values["BTN33/TEXT"] = "beyond";
    LauncherConfig c = LoadLauncherConfig(profile);
    EXPECT_EQ(c.buttonCount, 40);
    ASSERT_EQ(c.ShownButtons(), kMaxButtons);
    EXPECT_EQ(c.buttons.back().text, "last");
    for (const std::string& r : profile.reads) EXPECT_EQ(r.find("BTN33"), std::string::npos) << r;
    // The command ids address the shown buttons only.
    ASSERT_NE(ButtonFor(c, kFirstButtonId + 31), nullptr);
    EXPECT_EQ(ButtonFor(c, kFirstButtonId + 31)->text, "last");
    EXPECT_EQ(ButtonFor(c, kFirstButtonId + 32), nullptr);
    EXPECT_EQ(ButtonFor(c, kFirstButtonId - 1), nullptr);

    profile.values["SPEC/BTN_COUNT"] = "-3";
    EXPECT_EQ(LoadLauncherConfig(profile).ShownButtons(), 0);
    EXPECT_EQ(ButtonFor(LoadLauncherConfig(profile), kFirstButtonId), nullptr);
}

TEST(LauncherConfig, LongTextsAreCutToTheirBuffers) {
    FakeProfile profile;
    profile.values["SPEC/TITLE"] = std::string(400, 'T');
    profile.values["BTN1/EXE"] = std::string(400, 'e');
    LauncherConfig c = LoadLauncherConfig(profile);
    EXPECT_EQ(c.title.size(), 255u);
    EXPECT_EQ(c.buttons[0].exe.size(), 259u);
}

LauncherConfig ConfigWithButtons(int count) {
    LauncherConfig c;
    c.buttonCount = count;
    c.buttons.resize(count);
    return c;
}

TEST(LauncherLayout, ButtonsShareWidestCaptionPlusFourHeights) {
    LauncherConfig c = ConfigWithButtons(3);
    const std::vector<Size> extents = {{40, 16}, {120, 16}, {75, 18}};
    const LauncherLayout l = ComputeLauncherLayout(c, extents, {0, 0, 0, 0}, {0, 0, 1024, 768});
    ASSERT_EQ(l.buttons.size(), 3u);
    for (const Rect& r : l.buttons) {
        EXPECT_EQ(r.Width(), 120 + 4 * 18);
        EXPECT_EQ(r.Height(), 2 * 18);
        EXPECT_EQ(r.left, 32);
    }
    EXPECT_EQ(l.buttons[0].top, 32);
    EXPECT_EQ(l.buttons[1].top, 32 + 36 + 8);
    EXPECT_EQ(l.buttons[2].top, 32 + 2 * (36 + 8));
    EXPECT_EQ(l.client.cx, 32 + 32 + 192);
    EXPECT_EQ(l.buttons[2].bottom + 32, l.client.cy);  // bottom margin below the last button
}

TEST(LauncherLayout, NoButtonsGivesMarginsOnly) {
    const LauncherLayout l = ComputeLauncherLayout(ConfigWithButtons(0), {}, {0, 0, 0, 0}, {0, 0, 800, 600});
    EXPECT_EQ(l.client.cx, 64);
    EXPECT_EQ(l.client.cy, 56);
    EXPECT_TRUE(l.buttons.empty());
}

TEST(LauncherLayout, FrameIsAddedAndWindowIsCentred) {
    LauncherConfig c = ConfigWithButtons(1);
    const Rect frame{-3, -22, 3, 3};  // caption and thin border
    const LauncherLayout l = ComputeLauncherLayout(c, {{50, 10}}, frame, {0, 0, 1024, 768});
    // A client of 154 × 84 (one 90 × 20 button in the 32-pixel margins) inside the frame.
    EXPECT_EQ(l.window.Width(), 154 + 6);
    EXPECT_EQ(l.window.Height(), 84 + 25);
    // Centred: the spare pixels split evenly left and right; the odd one of 659 falls below.
    EXPECT_EQ(l.window.left, 1024 - l.window.right);
    EXPECT_EQ(768 - l.window.bottom, l.window.top + 1);
}

TEST(LauncherLayout, CentringTruncatesTowardZero) {
    // A window wider than an offset desktop gives a negative odd sum: -1 / 2 must be 0, not -1.
    LauncherConfig c = ConfigWithButtons(1);
    c.leftMargin = 0;
    c.rightMargin = 0;
    c.topMargin = 0;
    c.bottomMargin = 0;
    c.spaceY = 0;
    const LauncherLayout l = ComputeLauncherLayout(c, {{0, 0}}, {0, 0, 0, 0}, {-101, 0, 100, 10});
    EXPECT_EQ(l.window.Width(), 0);
    EXPECT_EQ(l.window.left, 0);
    const LauncherLayout wide = ComputeLauncherLayout(c, {{203, 0}}, {0, 0, 0, 0}, {0, -11, 0, 10});
    EXPECT_EQ(wide.window.left, -101);  // (0 - 203) / 2
    EXPECT_EQ(wide.window.top, 0);      // (-11 + 10 - 0) / 2
}

}  // namespace
}  // namespace launcher
