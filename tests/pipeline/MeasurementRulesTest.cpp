// Ring sizing at a measurement start and the COM lamp table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "common/CountingNew.h"
#include "device/RsUtil.h"
#include "pipeline/MeasurementRules.h"

namespace {

Settings DefaultSettings() {
    Settings s;
    int settingWindowType = 0;
    ExchangeSettings(s, settingWindowType, 0, std::string(), [] { return std::optional<std::string>(); });
    return s;
}

}  // namespace

TEST(RingCapacity, DefaultsGiveTheMinimumSize) {
    const Settings s = DefaultSettings();
    ASSERT_EQ(s.ringBufMinSize, 6000);
    ASSERT_EQ(s.time[static_cast<size_t>(s.timeSel)], 10.0);
    EXPECT_EQ(app::RingCapacity(s), 6000);
}

TEST(RingCapacity, LongSpansAddUp) {
    Settings s = DefaultSettings();
    s.time[3] = 20.0;
    s.timeSel = 3;
    s.beforTime = 10.0;
    s.afterTime = 300.0;
    EXPECT_EQ(app::RingCapacity(s), 33000);  // 1000 + 30000 + 2000
}

TEST(RingCapacity, TwoDisplayWindowsWhenTheyAreTheLargest) {
    Settings s = DefaultSettings();
    s.time[s.timeSel] = 40.0;
    s.beforTime = 0.0;
    s.afterTime = 0.0;
    EXPECT_EQ(app::RingCapacity(s), 8000);
    s.beforTime = 5.004;  // rounds to 500
    s.afterTime = 40.0;
    EXPECT_EQ(app::RingCapacity(s), 500 + 4000 + 4000);
    EXPECT_EQ(app::SamplesForSeconds(5.004), 500);
    EXPECT_EQ(app::SamplesForSeconds(0.015), 2);
}

TEST(RingCapacity, NonsenseSettingsGiveAUsableSize) {
    Settings s;  // all zero: never loaded
    EXPECT_EQ(app::RingCapacity(s), 1);

    s.ringBufMinSize = -50;
    s.beforTime = -10.0;
    s.afterTime = std::numeric_limits<double>::quiet_NaN();
    s.timeSel = 99;
    s.time = {1.0, 1.0, 1.0, -3.0};
    EXPECT_EQ(app::RingCapacity(s), 1);

    s.timeSel = -4;  // clamped to the first choice
    EXPECT_EQ(app::RingCapacity(s), 200);

    s.beforTime = 1e300;
    s.afterTime = std::numeric_limits<double>::infinity();
    s.time[0] = 1e18;
    s.ringBufMinSize = std::numeric_limits<int>::max();
    EXPECT_EQ(app::RingCapacity(s), app::kMaxRingCapacity);
    EXPECT_EQ(app::SamplesForSeconds(-std::numeric_limits<double>::infinity()), 0);
}

// Memory for the wanted size cannot be had: the rings get the largest halving that fits, all three
// the same size and usable, and the log text names both sizes.
TEST(ResetRings, FallsBackToTheLargestSizeThatCanBeAllocated) {
    WaveBuffer rings[3];
    EXPECT_EQ(app::ResetRings(rings, 6000), 6000);
    SetLargestAllocation(1000000);  // bytes: 125000 samples per ring
    const int got = app::ResetRings(rings, 500000);
    SetLargestAllocation(0);
    EXPECT_EQ(got, 125000);
    for (const WaveBuffer& ring : rings) {
        EXPECT_EQ(ring.Capacity(), got);
        EXPECT_EQ(ring.heldCount, 0);
        EXPECT_TRUE(ring.Check());
    }
    EXPECT_EQ(app::RingShortfallText(got), "ﾘﾝｸﾞﾊﾞｯﾌｧ 125000 (縮小)");

    SetLargestAllocation(4);  // not even one sample
    EXPECT_EQ(app::ResetRings(rings, 10), 0);
    SetLargestAllocation(0);
    const double one = 1.0;
    rings[0].Append(&one, 1);  // an empty ring takes nothing and stays sound
    EXPECT_TRUE(rings[0].Check());
    EXPECT_EQ(app::ResetRings(rings, 2147483647), app::kMaxRingCapacity);
    EXPECT_EQ(app::ResetRings(rings, -5), 1);
}

TEST(LinkStatusTable, LampAndTextFollowTheLinkBits) {
    using device::LINK_FRAMES_OK;
    using device::LINK_RECEIVING;
    const app::LinkStatus none = app::StatusForLinkState(0);
    EXPECT_EQ(none.lamp, 1);
    EXPECT_STREQ(none.text, "受信 ｴﾗｰ");
    const app::LinkStatus framesOnly = app::StatusForLinkState(LINK_FRAMES_OK);
    EXPECT_EQ(framesOnly.lamp, 1);
    const app::LinkStatus ok = app::StatusForLinkState(LINK_RECEIVING | LINK_FRAMES_OK);
    EXPECT_EQ(ok.lamp, 2);
    EXPECT_STREQ(ok.text, "受信中");
    const app::LinkStatus bad = app::StatusForLinkState(LINK_RECEIVING);
    EXPECT_EQ(bad.lamp, 3);
    EXPECT_STREQ(bad.text, "ﾃﾞｰﾀｴﾗｰ");

    const char* const texts[] = {"OPEN ｴﾗｰ", "受信 ｴﾗｰ", "受信中", "ﾃﾞｰﾀｴﾗｰ", "待機中", ""};
    for (int lamp = 0; lamp <= 5; ++lamp) EXPECT_STREQ(app::StatusText(lamp), texts[lamp]) << lamp;
}

TEST(LinkStatusTable, TextsAreCp932Bytes) {
    // "受信 ｴﾗｰ" with a blank, unlike the link's own report text.
    EXPECT_EQ(std::string(app::kStatusReceiveError), "\x8e\xf3\x90\x4d\x20\xb4\xd7\xb0");
    EXPECT_STRNE(app::kStatusReceiveError, device::kTextReceiveError);
}
