// The analysis follows the settings record: display time by index, spectra, window and cut-off.
#include <gtest/gtest.h>

#include "analysis/AnalysisFromSettings.h"

namespace app {
namespace {

TEST(AnalysisFromSettings, TakesTheSelectedDisplayTimeAndPsdKeys) {
    Settings s;
    s.time = {5.0, 8.0, 10.0, 33.3};
    s.timeSel = 3;
    s.psdFlg = 0;
    s.windowType = 4;
    s.hipassFilterFlg = 1;
    s.hipassFilter = 0.55;
    const AnalysisSettings a = AnalysisSettingsFrom(s);
    EXPECT_EQ(a.displayTime, 33.3);
    EXPECT_EQ(a.psdEnabled, 0);
    EXPECT_EQ(a.windowType, 4);
    EXPECT_EQ(a.highPassEnabled, 1);
    EXPECT_EQ(a.highPassCutoff, 0.55);
}

TEST(AnalysisFromSettings, IndexOutsideTheTableNeverReadsPastIt) {
    Settings s;
    s.time = {5.0, 8.0, 10.0, 20.0};
    s.timeSel = 9;
    EXPECT_EQ(AnalysisSettingsFrom(s).displayTime, 20.0);
    s.timeSel = -2;
    EXPECT_EQ(AnalysisSettingsFrom(s).displayTime, 5.0);
}

TEST(AnalysisFromSettings, DefaultsGiveATenSecondAnalysis) {
    Settings s;
    int windowType = 0;
    ExchangeSettings(s, windowType, 0, std::string(), [] { return std::optional<std::string>("C:\\Users\\op"); });
    AnalysisState state;
    SetupAnalysis(state, AnalysisSettingsFrom(s));
    EXPECT_EQ(state.analysisLength, 1000);
}

}  // namespace
}  // namespace app
