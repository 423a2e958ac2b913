// The settings walk: every key in its fixed order, one step for both load and save.
#include "config/Settings.h"

#include "config/FileProfileStore.h"
#include "config/IniFile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

const std::array<ScaleRow, 13> kDefaultAccRows = {{{2, 0.5},
                                                   {5, 1},
                                                   {10, 2},
                                                   {20, 5},
                                                   {40, 10},
                                                   {100, 20},
                                                   {200, 50},
                                                   {400, 100},
                                                   {500, 100},
                                                   {800, 200},
                                                   {1000, 200},
                                                   {1500, 300},
                                                   {2000, 500}}};
const std::array<ScaleRow, 14> kDefaultPsdRows = {{{1, 0.2},
                                                   {2, 0.5},
                                                   {4, 1},
                                                   {10, 2},
                                                   {20, 5},
                                                   {40, 10},
                                                   {100, 20},
                                                   {200, 50},
                                                   {400, 100},
                                                   {500, 100},
                                                   {800, 200},
                                                   {1000, 200},
                                                   {1500, 300},
                                                   {2000, 500}}};

namespace {

constexpr std::array<double, 3> kDefaultKanzan = {0.125, 0.125, 0.125};
constexpr std::array<double, 8> kDefaultAcc = {2.0, 5.0, 10.0, 20.0, 50.0, 100.0, 300.0, 999.0};
constexpr std::array<double, 4> kDefaultTime = {5.0, 8.0, 10.0, 20.0};
constexpr const char* kDefaultAccText = "2.0,5.0,10.0,20.0,50.0,100.0,300.0,999.0";
constexpr const char* kDefaultTitle = "OSKAMO 振動波形解析プログラム";

constexpr double kDefaultBeforTime = 1.0;
constexpr double kDefaultAfterTime = 1.0;
constexpr double kDefaultValX = 100.0;
constexpr double kDefaultValY = 100.0;
constexpr double kDefaultValZ = 50.0;
constexpr double kDefaultHipassFilter = 0.5;
constexpr int kDefaultBit = 16;
constexpr int kDefaultAccSel = 7;
constexpr int kDefaultTimeSel = 2;
constexpr int kDefaultXType = 0;
constexpr int kLastXType = 5;
constexpr int kDefaultWindowType = 2;
constexpr int kLastWindowType = 4;
constexpr int kDefaultSavedataMaxnum = 30000;
constexpr int kDefaultRingBufMinSize = 6000;

// Scale table rows read at most; a larger count is cut to it (each row is one key read).
constexpr int kLargestScaleRows = 10000;

constexpr ColorTriple kDefaultLine[3] = {{0, 255, 0}, {255, 0, 0}, {255, 255, 0}};

std::string TripleText(const ColorTriple& c) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d,%d,%d", c[0], c[1], c[2]);
    return buf;
}

int Saturate(int64_t v) { return static_cast<int>(v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : v); }

bool Positive(double v) { return std::isfinite(v) && v > 0; }


void IfNotFinite(double& v, double replacement) {
    if (!std::isfinite(v)) v = replacement;
}

// Load only: a list that does not hold exactly `count` values is deleted from the file and the
// default list is loaded, whether or not the delete could be written.
void ExchangeCheckedList(CIniFile& ini, int save, const char* key, double* field, int count,
                         const std::string& def) {
    if (!save) {
        std::vector<std::string> pieces;
        if (ini.SplitList(ini.ReadString(ini.section, key, ""), pieces) != count) {
            (void)ini.RawWriteString(ini.section.c_str(), key, nullptr);
            std::vector<std::string> defaults;
            ini.SplitList(def, defaults);
            for (int i = 0; i < count && i < static_cast<int>(defaults.size()); ++i) {
                field[i] = ini.StrToDouble(defaults[i]);
            }
            return;
        }
    }
    ini.ExchangeDoubleList(save, key, field, count, def);
}

template <size_t N>
void ExchangeScaleTable(CIniFile& ini, int save, const char* prefix, ScaleTable& table,
                        const std::array<ScaleRow, N>& defaults) {
    const std::string countKey = std::string(prefix) + "_NUM";
    int count = static_cast<int>(table.rows.size());
    ini.ExchangeInt(save, countKey, count, static_cast<int>(N));
    if (!save) {
        table.rows.clear();
        if (count < 1) count = static_cast<int>(N);  // a table needs at least one row
        count = std::min(count, kLargestScaleRows);
    }
    for (int i = 1; i <= count; ++i) {
        char key[48];
        std::snprintf(key, sizeof key, "%s_%d", prefix, i);
        const ScaleRow& def = defaults[static_cast<size_t>(i) <= N ? i - 1 : N - 1];
        if (save) {
            const ScaleRow& row = table.rows[static_cast<size_t>(i - 1)];
            const double values[2] = {row.fullScale, row.gridStep};
            ini.WriteDoubleList(key, values, 2);
            continue;
        }
        char defText[128];
        std::snprintf(defText, sizeof defText, "%f,%f", def.fullScale, def.gridStep);
        std::string pieces[2];
        int n = ini.SplitList(ini.ReadString(ini.section, key, defText), pieces, 2);
        ScaleRow row = def;  // a member without a number keeps the default row's value
        if (n >= 1) row.fullScale = ini.StrToDouble(pieces[0]);
        if (n >= 2) row.gridStep = ini.StrToDouble(pieces[1]);
        if (!Positive(row.fullScale)) row.fullScale = def.fullScale;
        if (!Positive(row.gridStep)) row.gridStep = def.gridStep;
        table.rows.push_back(row);
    }
}

}  // namespace

void WindowPlacementRecord::Load(CIniFile& ini, const std::string& key) {
    std::vector<int> v;
    ini.ReadIntList(key, v, "");
    if (v.size() < 9) return;
    showState = v[0];
    normal.left = v[1];
    normal.top = v[2];
    normal.right = Saturate(int64_t{v[1]} + v[3]);
    normal.bottom = Saturate(int64_t{v[2]} + v[4]);
    minX = v[5];
    minY = v[6];
    maxX = v[7];
    maxY = v[8];
}

void WindowPlacementRecord::Save(CIniFile& ini, const std::string& key) const {
    const int v[9] = {showState,
                      normal.left,
                      normal.top,
                      Saturate(int64_t{normal.right} - normal.left),
                      Saturate(int64_t{normal.bottom} - normal.top),
                      minX,
                      minY,
                      maxX,
                      maxY};
    ini.WriteIntList(key, v, 9);
}

void ReplaceUnusableSettings(Settings& s) {
    // Only an overflowing exponent ("1e999") gives a non-finite double, which could not be written
    // back as itself; every finite value stays as the operator wrote it and its users guard it.
    IfNotFinite(s.beforTime, kDefaultBeforTime);
    IfNotFinite(s.afterTime, kDefaultAfterTime);
    IfNotFinite(s.valX, kDefaultValX);
    IfNotFinite(s.valY, kDefaultValY);
    IfNotFinite(s.valZ, kDefaultValZ);
    for (size_t i = 0; i < s.kanzan.size(); ++i) IfNotFinite(s.kanzan[i], kDefaultKanzan[i]);
    if (s.bit != 12 && s.bit != 16) s.bit = 12;
    // A full scale of zero or less would divide by zero in every graph that picks it.
    for (size_t i = 0; i < s.acc.size(); ++i) {
        if (!Positive(s.acc[i])) s.acc[i] = kDefaultAcc[i];
        if (!Positive(s.accz[i])) s.accz[i] = kDefaultAcc[i];
    }
    for (size_t i = 0; i < s.time.size(); ++i) IfNotFinite(s.time[i], kDefaultTime[i]);
    // Indexes are clamped into their tables.
    s.accSel = std::clamp(s.accSel, 0, static_cast<int>(s.acc.size()) - 1);
    s.acczSel = std::clamp(s.acczSel, 0, static_cast<int>(s.accz.size()) - 1);
    s.timeSel = std::clamp(s.timeSel, 0, static_cast<int>(s.time.size()) - 1);
    s.xType = std::clamp(s.xType, 0, kLastXType);
    s.windowType = std::clamp(s.windowType, 0, kLastWindowType);
    if (s.accTable.rows.empty()) {
        s.accTable.rows.assign(kDefaultAccRows.begin(), kDefaultAccRows.end());
    }
    if (s.psdTable.rows.empty()) {
        s.psdTable.rows.assign(kDefaultPsdRows.begin(), kDefaultPsdRows.end());
    }
    IfNotFinite(s.hipassFilter, kDefaultHipassFilter);
    if (s.savedataMaxnum <= 0) s.savedataMaxnum = kDefaultSavedataMaxnum;
    IfNotFinite(s.shikiP, 0.0);
    IfNotFinite(s.shikiN1, 0.0);
    IfNotFinite(s.shikiN2, 0.0);
    IfNotFinite(s.shikiN3, 0.0);
}

void ExchangeSettings(Settings& s, int& settingWindowType, int mode, IProfileStore& store,
                      const ProfileDirectoryFn& profileDirectory) {
    const int save = mode;
    CIniFile ini(store, "WNDPLACEMENT");
    if (save) {
        s.mainPlacement.Save(ini, "MAIN_WNDPLACEMENT");
        s.settingPlacement.Save(ini, "SETTING_WNDPLACEMENT");
    } else {
        s.mainPlacement.Load(ini, "MAIN_WNDPLACEMENT");
        s.settingPlacement.Load(ini, "SETTING_WNDPLACEMENT");
    }

    ini.SetSection("TRIG");
    ini.ExchangeInt(save, "TRIG_MODE", s.trigMode, 0);
    ini.ExchangeDouble(save, "BEFOR_TIME", s.beforTime, kDefaultBeforTime);
    ini.ExchangeDouble(save, "AFTER_TIME", s.afterTime, kDefaultAfterTime);
    ini.ExchangeDouble(save, "VAL_X", s.valX, kDefaultValX);
    ini.ExchangeDouble(save, "VAL_Y", s.valY, kDefaultValY);
    ini.ExchangeDouble(save, "VAL_Z", s.valZ, kDefaultValZ);

    ini.SetSection("SPEC");
    ini.ExchangeInt(save, "MEMORY_DISP", s.memoryDisp, 1);
    ini.ExchangeString(save, "COM", s.com, "COM1");
    ini.ExchangeString(save, "TITLE", s.title, kDefaultTitle);
    std::optional<std::string> profile;
    if (profileDirectory) profile = profileDirectory();
    ini.ExchangeString(save, "SAVE_DIRECTORY", s.saveDirectory,
                       profile ? *profile : kFallbackSaveDirectory);
    ini.ExchangeString(save, "LAST_SD_DIR", s.lastSdDir, "");
    ini.ExchangeDoubleList(save, "KANZAN", s.kanzan.data(), 3, "0.125,0.125,0.125");
    ini.ExchangeInt(save, "BIT", s.bit, kDefaultBit);
    if (s.bit != 12 && s.bit != 16) s.bit = 12;
    ini.ExchangeInt(save, "SAVEDATA_MAXNUM", s.savedataMaxnum, kDefaultSavedataMaxnum);
    ini.ExchangeInt(save, "SETTING_WINDOW_TYPE", settingWindowType, kDefaultSettingWindowType);
    ini.ExchangeInt(save, "RING_BUF_MIN_SIZE", s.ringBufMinSize, kDefaultRingBufMinSize);
    ini.ExchangeInt(save, "LOG_LIST", s.logList, 0);

    ini.SetSection("SCALE");
    ini.ExchangeInt(save, "ACC_AUTO", s.accAuto, 1);
    ExchangeCheckedList(ini, save, "ACC", s.acc.data(), 8, kDefaultAccText);
    ini.ExchangeInt(save, "ACC_SEL", s.accSel, kDefaultAccSel);
    ExchangeCheckedList(ini, save, "ACCZ", s.accz.data(), 8, kDefaultAccText);
    ini.ExchangeInt(save, "ACCZ_SEL", s.acczSel, kDefaultAccSel);
    ini.ExchangeDoubleList(save, "TIME", s.time.data(), 4, "5.0,8.0,10.0,20.0");
    ini.ExchangeInt(save, "TIME_SEL", s.timeSel, kDefaultTimeSel);
    ExchangeScaleTable(ini, save, "ACC_TABLE", s.accTable, kDefaultAccRows);
    ExchangeScaleTable(ini, save, "PSD_TABLE", s.psdTable, kDefaultPsdRows);

    ini.SetSection("PSD");
    ini.ExchangeInt(save, "FLG", s.psdFlg, 1);
    ini.ExchangeInt(save, "XTYPE", s.xType, kDefaultXType);
    ini.ExchangeInt(save, "WINDOW_TYPE", s.windowType, kDefaultWindowType);
    ini.ExchangeInt(save, "HIPASSFILTER_FLG", s.hipassFilterFlg, 1);
    ini.ExchangeDouble(save, "HIPASSFILTER", s.hipassFilter, kDefaultHipassFilter);

    ini.SetSection("COLOR");
    ini.ExchangeIntTriple(save, "GRAPH_BACK", s.graphBack, "0,0,128");
    ini.ExchangeIntTriple(save, "PSDGRAPH_BACK", s.psdGraphBack, "0,0,128");
    for (int n = 1; n <= 3; ++n) {
        char key[32];
        std::snprintf(key, sizeof key, "GRAPH_LINE%d", n);
        ini.ExchangeIntTriple(save, key, s.graphLine[n - 1], TripleText(kDefaultLine[n - 1]));
        std::snprintf(key, sizeof key, "PSDGRAPH_LINE%d", n);
        ini.ExchangeIntTriple(save, key, s.psdGraphLine[n - 1], TripleText(kDefaultLine[n - 1]));
    }
    ini.ExchangeIntTriple(save, "SCALE_LINE_HILIGHT", s.scaleLineHilight, "255,255,255");
    ini.ExchangeIntTriple(save, "SCALE_LINE_LIGHT", s.scaleLineLight, "192,192,200");
    ini.ExchangeIntTriple(save, "SCALE_LINE_DARK", s.scaleLineDark, "64,64,164");
    ini.ExchangeIntTriple(save, "CURSOR_LINE", s.cursorLine, "255,255,255");
    ini.ExchangeIntTriple(save, "MONI_MAXMIN", s.moniMaxmin, "255,200,150");
    ini.ExchangeIntTriple(save, "MONI_NOW", s.moniNow, "200,200,200");
    ini.ExchangeIntTriple(save, "MONI_PSDMAX", s.moniPsdmax, "255,200,150");
    ini.ExchangeIntTriple(save, "MONI_LOWFILT", s.moniLowfilt, "255,255,150");
    ini.ExchangeIntTriple(save, "MONI_TRIG", s.moniTrig, "0,255,0");

    ini.SetSection("SHIKI");
    ini.ExchangeDouble(save, "P", s.shikiP, 0.0);
    ini.ExchangeDouble(save, "N1", s.shikiN1, 0.0);
    ini.ExchangeDouble(save, "N2", s.shikiN2, 0.0);
    ini.ExchangeDouble(save, "N3", s.shikiN3, 0.0);
    ini.ExchangeInt(save, "VAL_CHANGE", s.valChange, 0);

    if (!save) ReplaceUnusableSettings(s);
}

void ExchangeSettings(Settings& settings, int& settingWindowType, int mode, const std::string& path,
                      const ProfileDirectoryFn& profileDirectory) {
    FileProfileStore store(path);
    ExchangeSettings(settings, settingWindowType, mode, store, profileDirectory);
}
