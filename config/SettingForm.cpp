// Settings dialog rules: filling, checks, enabling, taking over, threshold texts.
#include "config/SettingForm.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "config/FormatSignificant.h"
#include "config/IniFile.h"
#include "resources/SettingDialogResource.h"
#include "ui/DialogItems.h"

const std::array<int, 4> kTimeRadios = {IDC_SET_TIME_0, IDC_SET_TIME_1, IDC_SET_TIME_2, IDC_SET_TIME_OWN};
const std::array<int, 8> kAccRadios = {IDC_SET_ACC_0, IDC_SET_ACC_1, IDC_SET_ACC_2, IDC_SET_ACC_3,
                                       IDC_SET_ACC_4, IDC_SET_ACC_5, IDC_SET_ACC_6, IDC_SET_ACC_OWN};
const std::array<int, 8> kAcczRadios = {IDC_SET_ACCZ_0, IDC_SET_ACCZ_1, IDC_SET_ACCZ_2, IDC_SET_ACCZ_3,
                                        IDC_SET_ACCZ_4, IDC_SET_ACCZ_5, IDC_SET_ACCZ_6, IDC_SET_ACCZ_OWN};
const std::array<int, 6> kXTypeRadios = {IDC_SET_XTYPE_0, IDC_SET_XTYPE_1, IDC_SET_XTYPE_2,
                                         IDC_SET_XTYPE_3, IDC_SET_XTYPE_4, IDC_SET_XTYPE_5};
const std::array<int, 4> kThresholdInputs = {IDC_SET_P, IDC_SET_N1, IDC_SET_N2, IDC_SET_N3};
const std::array<int, 4> kDeviceFields = {IDC_SET_DEVICE_P, IDC_SET_DEVICE_N1, IDC_SET_DEVICE_N2,
                                          IDC_SET_DEVICE_N3};
const std::array<int, 4> kMovingButtons = {IDC_SET_VERSION, IDC_SET_DEFAULTS, ui::kOkId, ui::kCancelId};
const std::array<std::pair<int, int>, 7> kSeparators = {{{IDC_SET_TIME_LABEL, 3},
                                                         {IDC_SET_TRIG_GROUP, 3},
                                                         {IDC_SET_CLOCK_LABEL, 6},
                                                         {IDC_SET_THRESHOLD_LABEL, 5},
                                                         {IDC_SET_COM_LABEL, 5},
                                                         {IDC_SET_PSD_GROUP, 1},
                                                         {IDC_SET_KANZAN_LABEL, 3}}};
const std::array<const char*, 5> kWindowTypeNames = {"NONE", "Hamming", "Hanning", "Blackman", "Flat-top"};

const char* const kTextDefaultsQuestion = "デフォルト値に戻します。よろしいですか？";
const char* const kTextReadBeforeWrite = "転送前に必ずモニターをしてください。";
const char* const kTextBrowseTitle = "データ保存フォルダの選択";

namespace {

std::string Fixed1(double v) {
    char b[400];
    std::snprintf(b, sizeof b, "%5.1f", v);
    return b;
}

std::string Int(int v) {
    char b[16];
    std::snprintf(b, sizeof b, "%d", v);
    return b;
}

// Truncation toward zero that saturates at the int range instead of overflowing.
int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(v);
}

bool Within(double v, double low, double high) { return v >= low && v <= high; }

// An own value or cut-off is range-tested only while it is chosen, but it is taken over always:
// one that is no finite number ("1e999") is refused even then, since it would be stored as such.
bool Refused(const std::string& text, double low, double high, bool chosen) {
    const double v = FormNumber(text);
    return !std::isfinite(v) || (chosen && !Within(v, low, high));
}

// CP932 lead byte of a double-byte character (its trail byte may be '\\' or '/').
bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace

double FormNumber(const std::string& text) { return LeadingDecimal(text.substr(0, 255)); }

SettingForm FormFromSettings(const Settings& s) {
    SettingForm f;
    f.saveDirectory = s.saveDirectory;
    f.timeSel = s.timeSel;
    f.ownTime = FormatSignificant(s.time[3], 6);
    f.accAuto = s.accAuto != 0;
    f.accSel = s.accSel;
    f.acczSel = s.acczSel;
    f.ownAcc = FormatSignificant(s.acc[7], 6);
    f.ownAccz = FormatSignificant(s.accz[7], 6);
    f.beforTime = FormatSignificant(s.beforTime, 6);
    f.afterTime = FormatSignificant(s.afterTime, 6);
    f.valXY = FormatSignificant(s.valX, 6);
    f.valZ = FormatSignificant(s.valZ, 6);
    char p[400];
    std::snprintf(p, sizeof p, "%2.1f", s.shikiP);
    f.thresholds = {p, Int(TruncToInt(s.shikiN1)), Int(TruncToInt(s.shikiN2)), Int(TruncToInt(s.shikiN3))};
    f.psd = s.psdFlg != 0;
    f.windowType = s.windowType;
    f.hipass = s.hipassFilterFlg != 0;
    char hz[400];
    std::snprintf(hz, sizeof hz, "%6.6s", Fixed1(s.hipassFilter).c_str());
    f.hipassFilter = hz;
    f.xType = s.xType;
    return f;
}

SettingCaptions CaptionsFromSettings(const Settings& s) {
    SettingCaptions c;
    for (size_t i = 0; i < c.time.size(); ++i) c.time[i] = Fixed1(s.time[i]);
    for (size_t i = 0; i < c.acc.size(); ++i) c.acc[i] = Fixed1(s.acc[i]);
    for (size_t i = 0; i < c.accz.size(); ++i) c.accz[i] = Fixed1(s.accz[i]);
    for (size_t i = 0; i < c.kanzan.size(); ++i) c.kanzan[i] = FormatSignificant(s.kanzan[i], 6);
    c.bit = "[" + Int(s.bit) + " bit]";
    c.kanzanLabel = std::string("換算値 測定値(gal)=(AD値-") + (s.bit == 16 ? "32768" : "2048") + ")×換算値";
    c.maxnum = Int(s.savedataMaxnum);
    return c;
}

std::string KanzanNote(const std::string& modulePath) {
    size_t nameStart = 0;
    size_t dot = std::string::npos;
    for (size_t i = 0; i < modulePath.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(modulePath[i]);
        if (IsLeadByte(c) && i + 1 < modulePath.size()) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            nameStart = i + 1;
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    std::string name = modulePath.substr(nameStart, dot == std::string::npos ? std::string::npos : dot - nameStart);
    return "変更する場合は  " + name + ".Ini [SPEC]KANZAN=999,999,999 の値を変更してください。";
}

std::optional<RangeError> FirstThresholdError(const std::array<std::string, 4>& t) {
    if (!Within(FormNumber(t[0]), 0.0, 99.9)) return RangeError{"閾値 Ｐ波値は 0.0 ～ 99.9 (gal) です。", IDC_SET_P};
    if (!Within(FormNumber(t[1]), 0, 999)) return RangeError{"閾値 Ｎ１波値は 0 ～ 999 (gal) です。", IDC_SET_N1};
    if (!Within(FormNumber(t[2]), 0, 999)) return RangeError{"閾値 Ｎ２波値は 0 ～ 999 (gal) です。", IDC_SET_N2};
    if (!Within(FormNumber(t[3]), 0, 999)) return RangeError{"閾値 Ｎ３波値は 0 ～ 999 (gal) です。", IDC_SET_N3};
    return std::nullopt;
}

std::optional<RangeError> FirstRangeError(const SettingForm& f) {
    if (Refused(f.ownTime, 1.0, 50.0, f.timeSel == 3))
        return RangeError{"表示時間　任意値は 1.0 ～ 50.0 (sec) です。", IDC_SET_OWN_TIME};
    if (Refused(f.ownAcc, 2.0, 999.0, !f.accAuto && f.accSel == 7))
        return RangeError{"スケール　加速度の任意値は 2.0 ～ 999.0 (gal) です。", IDC_SET_OWN_ACC};
    if (Refused(f.ownAccz, 2.0, 999.0, !f.accAuto && f.acczSel == 7))
        return RangeError{"スケール　加速度Ｚの任意値は 2.0 ～ 999.0 (gal) です。", IDC_SET_OWN_ACCZ};
    if (!Within(FormNumber(f.beforTime), 0.0, 10.0))
        return RangeError{"トリガ点の前は 0.0 ～ 10.0 (sec) です。", IDC_SET_BEFOR_TIME};
    if (!Within(FormNumber(f.afterTime), 0.0, 300.0))
        return RangeError{"トリガ点の後は 0.0 ～ 300.0 (sec) です。", IDC_SET_AFTER_TIME};
    if (!Within(FormNumber(f.valXY), 0.1, 400.0))
        return RangeError{"トリガ値　ＸＹは 0.1 ～ 400.0 (gal) です。", IDC_SET_VAL_XY};
    if (!Within(FormNumber(f.valZ), 0.1, 400.0))
        return RangeError{"トリガ値　Ｚは 0.1 ～ 400.0 (gal) です。", IDC_SET_VAL_Z};
    if (auto e = FirstThresholdError(f.thresholds)) return e;
    if (Refused(f.hipassFilter, 0.0, 1.0, f.hipass))
        return RangeError{"ハイパスフィルタは 0.0 ～ 1.0 (Hz) です。", IDC_SET_HIPASS};
    return std::nullopt;
}

void TakeForm(const SettingForm& f, Settings& s) {
    s.saveDirectory = f.saveDirectory;
    s.beforTime = FormNumber(f.beforTime);
    s.afterTime = FormNumber(f.afterTime);
    s.valX = s.valY = FormNumber(f.valXY);
    s.valZ = FormNumber(f.valZ);
    s.time[3] = FormNumber(f.ownTime);
    s.accAuto = f.accAuto ? 1 : 0;
    s.accSel = f.accSel >= 0 ? f.accSel : 0;
    s.acczSel = f.acczSel >= 0 ? f.acczSel : 0;
    s.acc[7] = FormNumber(f.ownAcc);
    s.accz[7] = FormNumber(f.ownAccz);
    s.timeSel = f.timeSel >= 0 ? f.timeSel : 0;
    s.psdFlg = f.psd ? 1 : 0;
    s.hipassFilterFlg = f.hipass ? 1 : 0;
    s.hipassFilter = FormNumber(f.hipassFilter);
    s.xType = f.xType >= 0 ? f.xType : 0;
    // A list without selection keeps the window function in force.
    if (f.windowType >= 0) s.windowType = f.windowType;
    s.shikiP = FormNumber(f.thresholds[0]);
    s.shikiN1 = FormNumber(f.thresholds[1]);
    s.shikiN2 = FormNumber(f.thresholds[2]);
    s.shikiN3 = FormNumber(f.thresholds[3]);
}

std::string RoundedThresholdText(int index, const std::string& text) {
    const double v = FormNumber(text);
    if (index == 0) {
        char b[400];
        std::snprintf(b, sizeof b, "%2.1f", std::trunc(v * 10 + 0.5) / 10);
        return b;
    }
    return Int(TruncToInt(std::trunc(v + 0.5)));
}

std::array<std::string, 4> DeviceThresholdTexts(const std::array<int, 4>& v) {
    char p[32];
    std::snprintf(p, sizeof p, "%2.1f", v[0] / 10.0);
    return {p, Int(v[1]), Int(v[2]), Int(v[3])};
}

std::array<int, 4> ThresholdCommandValues(const std::array<std::string, 4>& t) {
    return {TruncToInt(FormNumber(t[0]) * 10), TruncToInt(FormNumber(t[1])), TruncToInt(FormNumber(t[2])),
            TruncToInt(FormNumber(t[3]))};
}

std::string ThresholdWriteQuestion(const std::array<std::string, 4>& d, const std::array<std::string, 4>& n) {
    char b[512];
    std::snprintf(b, sizeof b,
                  "装置の閾値：P=%4.4s N1=%3.3s N2=%3.3s N3=%3.3s\n新しい閾値：P=%4.4s N1=%3.3s N2=%3.3s N3=%3.3s\n\n"
                  "新しい閾値に書き換えます。よろしいですか？",
                  d[0].c_str(), d[1].c_str(), d[2].c_str(), d[3].c_str(), n[0].c_str(), n[1].c_str(), n[2].c_str(),
                  n[3].c_str());
    return b;
}

EnableList FilterRule(bool hipass) { return {{IDC_SET_HIPASS, hipass}, {IDC_SET_HIPASS_UNIT, hipass}}; }

EnableList PsdRule(bool psd, bool hipass) {
    EnableList l;
    for (int id : kXTypeRadios) l.push_back({id, psd});
    for (int id : {IDC_SET_XAXIS_LABEL, IDC_SET_WINDOW_TYPE, IDC_SET_HIPASS_FLG, IDC_SET_HIPASS, IDC_SET_WINDOW_LABEL})
        l.push_back({id, psd});
    if (psd) {
        const EnableList filter = FilterRule(hipass);
        l.insert(l.end(), filter.begin(), filter.end());
    }
    return l;
}

EnableList DisplayTimeRule(int timeSel) { return {{IDC_SET_OWN_TIME, timeSel == 3}}; }

EnableList ScaleRule(bool accAuto, int accSel, int acczSel) {
    EnableList l;
    for (int id : kAccRadios) l.push_back({id, !accAuto});
    for (int id : kAcczRadios) l.push_back({id, !accAuto});
    l.push_back({IDC_SET_OWN_ACC, accSel == 7 && !accAuto});
    l.push_back({IDC_SET_OWN_ACCZ, acczSel == 7 && !accAuto});
    return l;
}

EnableList AccRadioRule(int accSel) { return {{IDC_SET_OWN_ACC, accSel == 7}}; }
EnableList AcczRadioRule(int acczSel) { return {{IDC_SET_OWN_ACCZ, acczSel == 7}}; }

EnableList ThresholdRule(int valChange) {
    EnableList l;
    for (int id : kThresholdInputs) l.push_back({id, valChange != 0});
    l.push_back({IDC_SET_THRESHOLD_WRITE, valChange != 0});
    l.push_back({IDC_SET_THRESHOLD_READ, valChange != 0});
    return l;
}

EnableList InitialEnabling(const SettingForm& f, int valChange) {
    EnableList l = ThresholdRule(valChange);
    for (const EnableList& part : {PsdRule(f.psd, f.hipass), DisplayTimeRule(f.timeSel),
                                   ScaleRule(f.accAuto, f.accSel, f.acczSel), FilterRule(f.hipass)})
        l.insert(l.end(), part.begin(), part.end());
    return l;
}

const char* FormSwitchCaption(int settingWindowType) { return settingWindowType == 0 ? "詳細＞＞" : "＜＜簡易"; }
