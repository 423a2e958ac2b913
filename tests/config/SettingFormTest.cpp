// The settings dialog's rules without its window: checks and their order, taking the values over,
// enabling, the threshold texts, and the defaults (their undo by キャンセル: e2e settings_test.sh).
#include "config/FileProfileStore.h"
#include "config/SettingForm.h"
#include "resources/SettingDialogResource.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

const ProfileDirectoryFn kProfile = [] { return std::optional<std::string>("C:\\Users\\operator"); };

Settings Defaults() {
    Settings s;
    int type = 1;
    ExchangeSettings(s, type, 0, "", kProfile);
    return s;
}

std::string Saved(Settings s, int type = 1) {
    FileProfileStore store = FileProfileStore::FromText("");
    ExchangeSettings(s, type, 1, store, kProfile);
    return store.Text();
}

// Final state per control after applying a list in order.
std::map<int, bool> Enabled(const EnableList& list) {
    std::map<int, bool> m;
    for (const auto& [id, on] : list) m[id] = on;
    return m;
}

struct RangeCase {
    const char* what;
    std::function<void(SettingForm&, const std::string&)> set;
    std::vector<const char*> outside;
    std::vector<const char*> inside;
    const char* message;
};

TEST(SettingForm, EveryRangeRefusesJustOutsideAndAcceptsItsEnds) {
    SettingForm base = FormFromSettings(Defaults());
    base.timeSel = 3;
    base.accAuto = false;
    base.accSel = base.acczSel = 7;
    base.hipass = true;
    ASSERT_FALSE(FirstRangeError(base));

    const std::vector<RangeCase> cases = {
        {"own time", [](SettingForm& f, const std::string& v) { f.ownTime = v; }, {"0.99", "50.01", "abc"},
         {"1.0", "50.0", "1"}, "表示時間　任意値は 1.0 ～ 50.0 (sec) です。"},
        {"own acc", [](SettingForm& f, const std::string& v) { f.ownAcc = v; }, {"1.99", "999.01"},
         {"2.0", "999"}, "スケール　加速度の任意値は 2.0 ～ 999.0 (gal) です。"},
        {"own accz", [](SettingForm& f, const std::string& v) { f.ownAccz = v; }, {"1.99", "999.1"},
         {"2", "999.0"}, "スケール　加速度Ｚの任意値は 2.0 ～ 999.0 (gal) です。"},
        {"before", [](SettingForm& f, const std::string& v) { f.beforTime = v; }, {"-0.01", "10.01"},
         {"0.0", "10.0", "x"}, "トリガ点の前は 0.0 ～ 10.0 (sec) です。"},
        {"after", [](SettingForm& f, const std::string& v) { f.afterTime = v; }, {"-0.1", "300.01"},
         {"0", "300.0"}, "トリガ点の後は 0.0 ～ 300.0 (sec) です。"},
        {"xy", [](SettingForm& f, const std::string& v) { f.valXY = v; }, {"0.05", "400.01", ""},
         {"0.1", "400.0"}, "トリガ値　ＸＹは 0.1 ～ 400.0 (gal) です。"},
        {"z", [](SettingForm& f, const std::string& v) { f.valZ = v; }, {"0.09", "400.1"}, {"0.1", "400"},
         "トリガ値　Ｚは 0.1 ～ 400.0 (gal) です。"},
        {"P", [](SettingForm& f, const std::string& v) { f.thresholds[0] = v; }, {"-0.1", "100.0", "99.95"},
         {"0.0", "99.9"}, "閾値 Ｐ波値は 0.0 ～ 99.9 (gal) です。"},
        {"N1", [](SettingForm& f, const std::string& v) { f.thresholds[1] = v; }, {"-1", "999.5", "1e999"},
         {"0", "999"}, "閾値 Ｎ１波値は 0 ～ 999 (gal) です。"},
        {"N2", [](SettingForm& f, const std::string& v) { f.thresholds[2] = v; }, {"-0.5", "1000"},
         {"0", "999"}, "閾値 Ｎ２波値は 0 ～ 999 (gal) です。"},
        {"N3", [](SettingForm& f, const std::string& v) { f.thresholds[3] = v; }, {"-1", "1000"},
         {"0", "999"}, "閾値 Ｎ３波値は 0 ～ 999 (gal) です。"},
        {"high-pass", [](SettingForm& f, const std::string& v) { f.hipassFilter = v; }, {"-0.1", "1.01"},
         {"0.0", "  1.0"}, "ハイパスフィルタは 0.0 ～ 1.0 (Hz) です。"},
    };
    for (const RangeCase& c : cases) {
        for (const char* v : c.outside) {
            SettingForm f = base;
            c.set(f, v);
            const auto e = FirstRangeError(f);
            EXPECT_STREQ(e ? e->message : "", c.message) << c.what << " = " << v;
        }
        for (const char* v : c.inside) {
            SettingForm f = base;
            c.set(f, v);
            EXPECT_FALSE(FirstRangeError(f)) << c.what << " = " << v;
        }
    }

    // Several wrong values: the earlier check speaks, and the threshold check alone agrees.
    SettingForm f = base;
    f.hipassFilter = "5";
    f.thresholds[2] = "1000";
    f.valZ = "0";
    EXPECT_EQ(FirstRangeError(f)->control, IDC_SET_VAL_Z);
    f.valZ = "1";
    EXPECT_STREQ(FirstRangeError(f)->message, "閾値 Ｎ２波値は 0 ～ 999 (gal) です。");
    EXPECT_EQ(FirstRangeError(f)->control, IDC_SET_N2);
    EXPECT_EQ(FirstThresholdError(f.thresholds)->control, IDC_SET_N2);
    f.thresholds[2] = "0";
    EXPECT_STREQ(FirstRangeError(f)->message, "ハイパスフィルタは 0.0 ～ 1.0 (Hz) です。");
}

TEST(SettingForm, UnselectedOwnValuesAreNotCheckedButTakenOver) {
    Settings s = Defaults();
    SettingForm f = FormFromSettings(s);
    f.accAuto = true;
    f.accSel = 7;
    f.ownAcc = "5000";   // auto scale: the own value is not checked
    f.acczSel = 2;
    f.ownAccz = "0.5";   // its radio is not ticked
    f.timeSel = 1;
    f.ownTime = "77";
    f.hipass = false;
    f.hipassFilter = "9.5";
    f.valXY = "12.5";
    f.thresholds = {"12.3", "8", "20", "999"};
    f.xType = -1;
    f.windowType = -1;
    ASSERT_FALSE(FirstRangeError(f));
    TakeForm(f, s);
    EXPECT_EQ(s.acc[7], 5000.0);
    EXPECT_EQ(s.accz[7], 0.5);
    EXPECT_EQ(s.time[3], 77.0);
    EXPECT_EQ(s.hipassFilter, 9.5);
    EXPECT_EQ(s.hipassFilterFlg, 0);
    EXPECT_EQ(s.accAuto, 1);
    EXPECT_EQ(s.accSel, 7);
    EXPECT_EQ(s.acczSel, 2);
    EXPECT_EQ(s.timeSel, 1);
    EXPECT_EQ(s.valX, 12.5);
    EXPECT_EQ(s.valY, 12.5);
    EXPECT_EQ(s.shikiP, 12.3);
    EXPECT_EQ(s.shikiN3, 999.0);
    EXPECT_EQ(s.xType, 0) << "no frequency axis ticked";
    EXPECT_EQ(s.windowType, 2) << "no window function selected keeps the one in force";

    // A number beyond any double would be stored as infinity: refused with the field's range
    // message although its radio or check box is not ticked.
    for (auto [field, message] : {std::pair{&SettingForm::ownTime, "表示時間　任意値は 1.0 ～ 50.0 (sec) です。"},
                                  {&SettingForm::ownAcc, "スケール　加速度の任意値は 2.0 ～ 999.0 (gal) です。"},
                                  {&SettingForm::ownAccz, "スケール　加速度Ｚの任意値は 2.0 ～ 999.0 (gal) です。"},
                                  {&SettingForm::hipassFilter, "ハイパスフィルタは 0.0 ～ 1.0 (Hz) です。"}}) {
        SettingForm g = f;
        g.*field = "-1e999";
        ASSERT_TRUE(FirstRangeError(g));
        EXPECT_STREQ(FirstRangeError(g)->message, message);
    }
}

TEST(SettingForm, ControlsShowTheRecord) {
    Settings s = Defaults();
    s.shikiP = 1.5;
    s.shikiN1 = 10.9;
    s.shikiN2 = -3.7;
    s.shikiN3 = 1e300;  // a finite value from the file must not overflow the whole-number text
    s.hipassFilter = 0.26;
    s.valX = 0.05;
    s.bit = 12;
    const SettingForm f = FormFromSettings(s);
    EXPECT_EQ(f.thresholds, (std::array<std::string, 4>{"1.5", "10", "-3", "2147483647"}));
    EXPECT_EQ(f.hipassFilter, "   0.3");
    EXPECT_EQ(f.valXY, "0.05");
    EXPECT_EQ(f.ownAcc, "999.0");
    EXPECT_EQ(f.ownTime, "20.0");
    const SettingCaptions c = CaptionsFromSettings(s);
    EXPECT_EQ(c.time[2], " 10.0");
    EXPECT_EQ(c.acc[0], "  2.0");
    EXPECT_EQ(c.accz[6], "300.0");
    EXPECT_EQ(c.bit, "[12 bit]");
    EXPECT_EQ(c.kanzanLabel, "換算値 測定値(gal)=(AD値-2048)×換算値");
    EXPECT_EQ(c.kanzan[0], "0.125");
    EXPECT_EQ(c.maxnum, "30000");
    EXPECT_EQ(KanzanNote("C:\\Program Files\\Quorvel.exe"),
              "変更する場合は  Quorvel.Ini [SPEC]KANZAN=999,999,999 の値を変更してください。");
    // "表" ends in the byte of a backslash: the name is not cut there.
    EXPECT_EQ(KanzanNote("C:\\計測\\表.exe"), "変更する場合は  表.Ini [SPEC]KANZAN=999,999,999 の値を変更してください。");
    EXPECT_EQ(KanzanNote("Z:\\a.b\\Quorvel"), "変更する場合は  Quorvel.Ini [SPEC]KANZAN=999,999,999 の値を変更してください。");
}

TEST(SettingForm, ThresholdTexts) {
    EXPECT_EQ(RoundedThresholdText(0, "12.34"), "12.3");
    EXPECT_EQ(RoundedThresholdText(0, "12.35"), "12.4");
    EXPECT_EQ(RoundedThresholdText(0, "abc"), "0.0");
    EXPECT_EQ(RoundedThresholdText(1, "7.5"), "8");
    EXPECT_EQ(RoundedThresholdText(2, "7.49"), "7");
    EXPECT_EQ(RoundedThresholdText(3, "1e20"), "2147483647");
    EXPECT_EQ(DeviceThresholdTexts({15, 10, 20, 30}), (std::array<std::string, 4>{"1.5", "10", "20", "30"}));
    EXPECT_EQ(DeviceThresholdTexts({123, 0, 999, 5})[0], "12.3");

    EXPECT_EQ(ThresholdCommandValues({"1.5", "10", "20", "30"}), (std::array<int, 4>{15, 10, 20, 30}));
    EXPECT_EQ(ThresholdCommandValues({"99.9", "999", "0", "0.9"}), (std::array<int, 4>{999, 999, 0, 0}));
    // Every one-decimal P the range allows gives exactly its number of tenths.
    for (int tenths = 0; tenths <= 999; ++tenths) {
        char text[16];
        std::snprintf(text, sizeof text, "%d.%d", tenths / 10, tenths % 10);
        ASSERT_EQ(ThresholdCommandValues({text, "0", "0", "0"})[0], tenths) << text;
    }

    EXPECT_EQ(ThresholdWriteQuestion({"1.5", "10", "20", "30"}, {"12.3", "1000", "20", "7"}),
              "装置の閾値：P= 1.5 N1= 10 N2= 20 N3= 30\n新しい閾値：P=12.3 N1=100 N2= 20 N3=  7\n\n"
              "新しい閾値に書き換えます。よろしいですか？");
}

TEST(SettingForm, EnablingFollowsTheTicks) {
    SettingForm f = FormFromSettings(Defaults());  // PSD and filter on, auto scale, own value selected
    auto on = Enabled(InitialEnabling(f, 0));
    EXPECT_FALSE(on[IDC_SET_P]);
    EXPECT_FALSE(on[IDC_SET_THRESHOLD_READ]);
    EXPECT_FALSE(on[IDC_SET_THRESHOLD_WRITE]);
    EXPECT_TRUE(on[IDC_SET_WINDOW_TYPE]);
    EXPECT_TRUE(on[IDC_SET_HIPASS]);
    EXPECT_FALSE(on[IDC_SET_OWN_TIME]) << "display time 2 is ticked";
    for (int id : kAccRadios) EXPECT_FALSE(on[id]) << id;
    EXPECT_FALSE(on[IDC_SET_OWN_ACC]) << "auto scale";

    f.accAuto = false;
    f.acczSel = 3;
    f.timeSel = 3;
    f.psd = false;
    f.hipass = false;
    on = Enabled(InitialEnabling(f, 1));
    EXPECT_TRUE(on[IDC_SET_N3]);
    EXPECT_TRUE(on[IDC_SET_THRESHOLD_WRITE]);
    for (int id : kAcczRadios) EXPECT_TRUE(on[id]) << id;
    EXPECT_TRUE(on[IDC_SET_OWN_ACC]);
    EXPECT_FALSE(on[IDC_SET_OWN_ACCZ]);
    EXPECT_TRUE(on[IDC_SET_OWN_TIME]);
    for (int id : kXTypeRadios) EXPECT_FALSE(on[id]) << id;
    EXPECT_FALSE(on[IDC_SET_HIPASS_FLG]);
    EXPECT_FALSE(on[IDC_SET_HIPASS]);

    // Opening with PSD off and the filter on: the filter rule runs last and enables its edit.
    f.hipass = true;
    on = Enabled(InitialEnabling(f, 1));
    EXPECT_FALSE(on[IDC_SET_HIPASS_FLG]);
    EXPECT_TRUE(on[IDC_SET_HIPASS]);
    // Clicks: unticking 処理 disables the edit, ticking brings the filter rule back.
    EXPECT_FALSE(Enabled(PsdRule(false, true))[IDC_SET_HIPASS]);
    EXPECT_TRUE(Enabled(PsdRule(true, true))[IDC_SET_HIPASS_UNIT]);
    EXPECT_FALSE(Enabled(PsdRule(true, false))[IDC_SET_HIPASS]);
    EXPECT_TRUE(Enabled(AccRadioRule(7))[IDC_SET_OWN_ACC]);
    EXPECT_FALSE(Enabled(AcczRadioRule(6))[IDC_SET_OWN_ACCZ]);
}

TEST(SettingForm, DefaultsKeepPlacementsAndForm) {
    Settings s;
    int type = 1;
    FileProfileStore store = FileProfileStore::FromText(
        "[WNDPLACEMENT]\r\nMAIN_WNDPLACEMENT=3,1,2,3,4,0,0,-1,-1\r\nSETTING_WNDPLACEMENT=1,40,30,790,730,0,0,-1,-1\r\n"
        "[SPEC]\r\nCOM=COM7\r\nTITLE=試験\r\nSETTING_WINDOW_TYPE=0\r\n[COLOR]\r\nGRAPH_BACK=1,2,3\r\n"
        "[SCALE]\r\nACC_TABLE_NUM=2\r\n");
    ExchangeSettings(s, type, 0, store, kProfile);
    const Settings backup = s;

    int formType = type;  // what the dialog passes, so the form stays
    ExchangeSettings(s, formType, 0, "", kProfile);
    EXPECT_EQ(s.com, "COM1");
    EXPECT_EQ(s.graphBack, (ColorTriple{0, 0, 128}));
    EXPECT_EQ(s.accTable.rows.size(), 13u);
    EXPECT_EQ(s.settingPlacement.normal.left, 40) << "placements are not settings the defaults reset";
    Settings expected = Defaults();
    expected.mainPlacement = backup.mainPlacement;
    expected.settingPlacement = backup.settingPlacement;
    EXPECT_EQ(Saved(s, type), Saved(expected, type));
}

}  // namespace
