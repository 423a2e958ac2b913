// The settings dialog's rules over fake controls: the form read back as it was filled, OK that
// refuses a value, キャンセル after the defaults, and the threshold exchanges that must not start.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/SettingsEditor.h"
#include "common/FakeDialogItems.h"
#include "device/FakeLink.h"
#include "device/RecorderCommands.h"
#include "resources/SettingDialogResource.h"

namespace {

// The window's answers written down.
struct FakeDialog : testing_ui::FakeDialogItems, app::SettingsDialogShell {
    std::vector<std::string> told;
    bool confirm = true;
    int focused = 0;
    int closed = -1;  // 1 confirmed, 0 not

    void Tell(const char* t) override { told.push_back(t); }
    bool Confirm(const char*) override { return confirm; }
    void FocusAndSelectAll(int id) override { focused = id; }
    void SetBusy(bool) override {}
    void ShowForm(int) override {}
    void ListPorts(const std::vector<std::string>&, const std::string&) override {}
    void SelectPort(const std::string&) override {}
    void Close(bool confirmed) override { closed = confirmed ? 1 : 0; }
    app::LocalTime Now() const override { return {2026, 3, 4, 5, 6, 7}; }
};

struct IdleLink : app::SessionLink {
    bool WaitUntilIdle() override { return true; }
    bool ProvePort(const std::string&, int) override { return true; }
    bool StartReceiving() override { return true; }
    void ReleaseReceiveThread() override {}
    void DrainSamples() override {}
};

class Editor : public ::testing::Test {
protected:
    Editor() : port(clock), sink(clock), link(port, clock, sink, nullptr) {
        settings.time = {1.0, 5.0, 10.0, 20.0};
        settings.valX = settings.valY = settings.valZ = 5.0;
        editor.Open();
    }

    Settings settings;
    int formType = 1;
    app::AnalysisState analysis;
    bool measuring = false;
    IdleLink sessionLink;
    devtest::FakeClock clock{1000};
    devtest::FakePort port;
    devtest::RecordingSink sink;
    device::CRsUtil link;
    std::vector<std::string> found;
    FakeDialog dialog;
    app::SettingsEditor editor{{settings, formType, analysis, [this] { return measuring; }, sessionLink, link, clock,
                                found, [] {}, [] {},
                                [](Settings& s, int&) {
                                    s = Settings{};
                                    s.valX = 123.0;
                                }},
                               dialog, dialog};
};

TEST_F(Editor, ControlsGiveBackTheFormTheyWereFilledWith) {
    settings.timeSel = 2;
    settings.accSel = 7;
    settings.acczSel = 3;
    settings.acc[7] = 250.0;
    settings.psdFlg = 1;
    settings.windowType = 3;
    editor.Fill();
    auto fields = [](const SettingForm& f) {
        return std::make_tuple(f.saveDirectory, f.timeSel, f.ownTime, f.accAuto, f.accSel, f.acczSel, f.ownAcc,
                               f.ownAccz, f.beforTime, f.afterTime, f.valXY, f.valZ, f.thresholds, f.psd,
                               f.windowType, f.hipass, f.hipassFilter, f.xType);
    };
    EXPECT_EQ(fields(editor.ReadForm()), fields(FormFromSettings(settings)));
    EXPECT_EQ(dialog.enabled[IDC_SET_OWN_ACC], true) << "the own value is chosen";
    editor.ShowPcClock();
    EXPECT_EQ(dialog.text[IDC_SET_PC_CLOCK], "2026.03.04_05:06:07");
}

TEST_F(Editor, OkWithARefusedValueNamesItAndKeepsTheDialog) {
    editor.Fill();
    const double before = settings.valX;
    dialog.text[IDC_SET_VAL_XY] = "1e999";
    editor.OnOk(0);
    ASSERT_EQ(dialog.told.size(), 1u);
    EXPECT_EQ(dialog.focused, IDC_SET_VAL_XY);
    EXPECT_EQ(dialog.closed, -1);
    EXPECT_EQ(settings.valX, before);

    dialog.text[IDC_SET_VAL_XY] = "12.5";
    editor.OnOk(0);
    EXPECT_EQ(dialog.closed, 1);
    EXPECT_EQ(settings.valX, 12.5);
}

TEST_F(Editor, CancelPutsBackWhatTheDefaultsReplaced) {
    settings.valX = 7.0;
    editor.Open();
    editor.Fill();
    EXPECT_TRUE(editor.OnClicked(IDC_SET_DEFAULTS));
    EXPECT_EQ(settings.valX, 123.0);
    EXPECT_EQ(dialog.text[IDC_SET_VAL_XY], FormFromSettings(settings).valXY) << "the controls show the defaults";
    editor.OnCancel();
    EXPECT_EQ(settings.valX, 7.0);
    EXPECT_EQ(dialog.closed, 0);
}

TEST_F(Editor, ThresholdExchangesThatMustNotReachThePort) {
    editor.Fill();
    editor.WriteThresholds();
    EXPECT_EQ(dialog.told, std::vector<std::string>{kTextReadBeforeWrite}) << "a write needs a read first";

    measuring = true;  // the measurement owns the port
    EXPECT_FALSE(editor.ReadThresholds());
    EXPECT_EQ(dialog.told.back(), device::kTextThresholdReadError);
    EXPECT_EQ(port.Count(devtest::PortEvent::Open), 0);
}

}  // namespace
