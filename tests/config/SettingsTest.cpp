// The settings walk: defaults, key order, the load rules and the replacements of unusable values.
#include "TestFiles.h"
#include "config/FileProfileStore.h"
#include "config/IniFile.h"
#include "config/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <tuple>

namespace {

const ProfileDirectoryFn kProfile = [] { return std::optional<std::string>("C:\\Users\\operator"); };

// Loads the settings from INI text in memory; the store keeps what the load changed in the file.
struct Loaded {
    Settings settings;
    int settingWindowType = 0;
    FileProfileStore store = FileProfileStore::FromText("");
};

std::unique_ptr<Loaded> Load(const std::string& text, const Settings& before = Settings{}) {
    auto l = std::make_unique<Loaded>();
    l->settings = before;
    l->store = FileProfileStore::FromText(text);
    ExchangeSettings(l->settings, l->settingWindowType, 0, l->store, kProfile);
    return l;
}

std::string Saved(Settings s, int settingWindowType = 1, const std::string& text = "") {
    FileProfileStore store = FileProfileStore::FromText(text);
    ExchangeSettings(s, settingWindowType, 1, store, kProfile);
    return store.Text();
}

std::string Key(const FileProfileStore& store, const char* section, const char* key) {
    char buffer[512];
    profile_text::GetString(store.Text(), section, key, "<missing>", buffer, sizeof buffer);
    return buffer;
}

TEST(SettingsWalk, FirstRunWritesEveryKeyInWalkOrderWithItsDefault) {
    config_test::ScratchDir dir;
    std::string path = dir.NewPath();
    Settings s;
    int type = 0;
    ExchangeSettings(s, type, 0, path, kProfile);
    EXPECT_FALSE(config_test::FileExists(path));  // loading creates nothing
    ExchangeSettings(s, type, 1, path, kProfile);
    EXPECT_EQ(config_test::ReadBytes(path), config_test::ReadDataFile("default.ini"));
}

TEST(SettingsWalk, DefaultsAreTheDocumentedValues) {
    auto l = Load("");
    const Settings& s = l->settings;
    EXPECT_EQ(s.trigMode, 0);
    EXPECT_EQ(s.beforTime, 1.0);
    EXPECT_EQ(s.valZ, 50.0);
    EXPECT_EQ(s.com, "COM1");
    EXPECT_EQ(s.saveDirectory, "C:\\Users\\operator");
    EXPECT_EQ(s.title, "OSKAMO 振動波形解析プログラム");  // CP932 bytes
    EXPECT_EQ(s.kanzan, (std::array<double, 3>{0.125, 0.125, 0.125}));
    EXPECT_EQ(s.bit, 16);
    EXPECT_EQ(s.acc[7], 999.0);
    EXPECT_EQ(s.accSel, 7);
    EXPECT_EQ(s.time, (std::array<double, 4>{5, 8, 10, 20}));
    EXPECT_EQ(s.timeSel, 2);
    ASSERT_EQ(s.accTable.rows.size(), 13u);
    ASSERT_EQ(s.psdTable.rows.size(), 14u);
    EXPECT_EQ(s.psdTable.rows[0].gridStep, 0.2);
    EXPECT_EQ(s.windowType, 2);
    EXPECT_EQ(s.savedataMaxnum, 30000);
    EXPECT_EQ(s.ringBufMinSize, 6000);
    EXPECT_EQ(s.graphLine[2], (ColorTriple{255, 255, 0}));
    EXPECT_EQ(s.scaleLineDark, (ColorTriple{64, 64, 164}));
    EXPECT_EQ(l->settingWindowType, 1);
    EXPECT_EQ(s.mainPlacement.normal, PlacementRect{});
}

TEST(SettingsWalk, SaveThenLoadGivesTheSameRecord) {
    Settings s = Load("")->settings;
    s.com = "COM7";
    s.kanzan = {0.1, 0.2, 0.3};
    s.time[3] = 33.3;
    s.accTable.rows = {{3, 1}, {6.5, 2}};
    s.moniTrig = {1, 2, 3};
    s.mainPlacement.showState = 3;
    s.mainPlacement.normal = {100, 80, 740, 560};
    s.mainPlacement.maxX = -8;
    std::string text = Saved(s, 0);
    auto back = Load(text);
    EXPECT_EQ(back->settings.com, "COM7");
    EXPECT_EQ(back->settings.kanzan, s.kanzan);
    EXPECT_EQ(back->settings.time[3], 33.3);
    ASSERT_EQ(back->settings.accTable.rows.size(), 2u);
    EXPECT_EQ(back->settings.accTable.rows[1].fullScale, 6.5);
    EXPECT_EQ(back->settings.moniTrig, s.moniTrig);
    EXPECT_EQ(back->settings.mainPlacement.normal, s.mainPlacement.normal);
    EXPECT_EQ(back->settings.mainPlacement.maxX, -8);
    EXPECT_EQ(back->settingWindowType, 0);
    EXPECT_EQ(Saved(back->settings, 0), text);
}

TEST(SettingsWalk, BitOtherThan12Or16Becomes12) {
    auto l = Load("[SPEC]\r\nBIT=14\r\n");
    EXPECT_EQ(l->settings.bit, 12);
    EXPECT_EQ(Key(FileProfileStore::FromText(Saved(l->settings)), "SPEC", "BIT"), "12");
    EXPECT_EQ(Load("[SPEC]\r\nBIT=12\r\n")->settings.bit, 12);
    EXPECT_EQ(Load("[SPEC]\r\nBIT=0x10\r\n")->settings.bit, 16);
}

TEST(SettingsWalk, AccListOfWrongLengthIsDeletedAndDefaulted) {
    Settings before;
    before.acc = {9, 9, 9, 9, 9, 9, 9, 9};
    for (const char* bad : {"1,2,3", "1,2,3,4,5,6,7,8,9", ""}) {
        auto l = Load(std::string("[SCALE]\r\nACC=") + bad + "\r\nACCZ=" + bad + "\r\n", before);
        EXPECT_EQ(l->settings.acc,
                  (std::array<double, 8>{2, 5, 10, 20, 50, 100, 300, 999}))
            << bad;
        EXPECT_EQ(l->settings.accz[0], 2.0);
        EXPECT_EQ(Key(l->store, "SCALE", "ACC"), "<missing>") << bad;
        EXPECT_EQ(Key(l->store, "SCALE", "ACCZ"), "<missing>") << bad;
        EXPECT_EQ(Key(FileProfileStore::FromText(Saved(l->settings)), "SCALE", "ACC"),
                  "2.0,5.0,10.0,20.0,50.0,100.0,300.0,999.0");
    }
    auto good = Load("[SCALE]\r\nACC=1,2,3,4,5,6,7,8\r\n");
    EXPECT_EQ(good->settings.acc[7], 8.0);
    EXPECT_EQ(Key(good->store, "SCALE", "ACC"), "1,2,3,4,5,6,7,8");
}

// A store whose writes all fail, over INI text.
class ReadOnlyStore : public IProfileStore {
public:
    explicit ReadOnlyStore(std::string text) : text_(std::move(text)) {}
    unsigned GetString(const char* s, const char* k, const char* d, char* b, unsigned n) override {
        return profile_text::GetString(text_, s, k, d, b, n);
    }
    bool WriteString(const char*, const char*, const char*) override { return false; }
    unsigned GetSection(const char* s, char* b, unsigned n) override {
        return profile_text::GetSection(text_, s, b, n);
    }
    bool WriteSection(const char*, const char*) override { return false; }
    const std::string& Path() const override { return path_; }

private:
    std::string text_;
    std::string path_ = "read-only.ini";
};

TEST(SettingsWalk, WrongLengthAccIsDefaultedEvenWhenTheDeleteFails) {
    ReadOnlyStore store("[SCALE]\r\nACC=1,2,3\r\n");
    Settings s;
    s.acc = {9, 9, 9, 9, 9, 9, 9, 9};
    int type = 0;
    ExchangeSettings(s, type, 0, store, kProfile);
    EXPECT_EQ(s.acc, (std::array<double, 8>{2, 5, 10, 20, 50, 100, 300, 999}));
}

TEST(SettingsWalk, ShortListsKeepTheRemainingFields) {
    Settings before;
    before.time = {6, 7, 9, 11};
    before.graphBack = {1, 2, 3};
    auto l = Load("[SCALE]\r\nTIME=3\r\n[COLOR]\r\nGRAPH_BACK=10,20\r\n", before);
    EXPECT_EQ(l->settings.time, (std::array<double, 4>{3, 7, 9, 11}));
    EXPECT_EQ(l->settings.graphBack, (ColorTriple{10, 20, 3}));
    // Right after start-up the kept values are the empty record's 0, and they are saved so.
    auto fresh = Load("[SCALE]\r\nTIME=3\r\n");
    EXPECT_EQ(fresh->settings.time, (std::array<double, 4>{3, 0, 0, 0}));
    FileProfileStore out = FileProfileStore::FromText(Saved(fresh->settings));
    EXPECT_EQ(Key(out, "SCALE", "TIME"), "3.0,0.0,0.0,0.0");
}

TEST(SettingsWalk, IntKeysParseHexOctalAndEmpty) {
    EXPECT_EQ(Load("[TRIG]\r\nTRIG_MODE=0x10\r\n")->settings.trigMode, 16);
    EXPECT_EQ(Load("[TRIG]\r\nTRIG_MODE=010\r\n")->settings.trigMode, 8);
    EXPECT_EQ(Load("[TRIG]\r\nTRIG_MODE=\r\n")->settings.trigMode, 0);
}

TEST(SettingsWalk, ComEmptyIsEmptyAndMissingIsCom1) {
    EXPECT_EQ(Load("[SPEC]\r\nCOM=\r\n")->settings.com, "");
    EXPECT_EQ(Load("[SPEC]\r\nTITLE=x\r\n")->settings.com, "COM1");
}

TEST(SettingsWalk, ScaleTableFollowsItsCountKey) {
    auto l = Load("[SCALE]\r\nACC_TABLE_NUM=2\r\nACC_TABLE_1=3,1\r\nACC_TABLE_2=7,2\r\n"
                  "ACC_TABLE_3=99,9\r\n");
    ASSERT_EQ(l->settings.accTable.rows.size(), 2u);
    EXPECT_EQ(l->settings.accTable.rows[1].fullScale, 7.0);
    std::string saved = Saved(l->settings, 1, l->store.Text());
    FileProfileStore out = FileProfileStore::FromText(saved);
    EXPECT_EQ(Key(out, "SCALE", "ACC_TABLE_NUM"), "2");
    EXPECT_EQ(Key(out, "SCALE", "ACC_TABLE_2"), "7.0,2.0");
    EXPECT_EQ(Key(out, "SCALE", "ACC_TABLE_3"), "99,9");  // beyond the count: left alone

    auto longer = Load("[SCALE]\r\nACC_TABLE_NUM=15\r\n");
    ASSERT_EQ(longer->settings.accTable.rows.size(), 15u);
    EXPECT_EQ(longer->settings.accTable.rows[13].fullScale, 2000.0);
    EXPECT_EQ(longer->settings.accTable.rows[14].gridStep, 500.0);
}

TEST(SettingsWalk, UnusableScaleTablesAndRowsGetDefaults) {
    for (const char* count : {"0", "-3", "abc"}) {
        auto l = Load(std::string("[SCALE]\r\nACC_TABLE_NUM=") + count + "\r\nPSD_TABLE_NUM=" +
                      count + "\r\n");
        EXPECT_EQ(l->settings.accTable.rows.size(), 13u) << count;
        EXPECT_EQ(l->settings.psdTable.rows.size(), 14u) << count;
    }
    // A count no table needs is cut to the rows a load reads at most, not thrown away.
    auto huge = Load("[SCALE]\r\nACC_TABLE_NUM=2147483647\r\n");
    EXPECT_EQ(huge->settings.accTable.rows.size(), 10000u);
    auto rows = Load("[SCALE]\r\nACC_TABLE_1=abc\r\nACC_TABLE_2=7\r\nACC_TABLE_3=0,-1\r\n"
                     "ACC_TABLE_4=1e999,5\r\n");
    const auto& r = rows->settings.accTable.rows;
    EXPECT_EQ(r[0].fullScale, 2.0);
    EXPECT_EQ(r[0].gridStep, 0.5);
    EXPECT_EQ(r[1].fullScale, 7.0);
    EXPECT_EQ(r[1].gridStep, 1.0);  // the missing member from default row 2
    EXPECT_EQ(r[2].fullScale, 10.0);
    EXPECT_EQ(r[2].gridStep, 2.0);
    EXPECT_EQ(r[3].fullScale, 20.0);
    EXPECT_EQ(r[3].gridStep, 5.0);
}

TEST(SettingsWalk, ValuesNoUserCanWorkWithAreReplaced) {
    auto l = Load(
        "[TRIG]\r\nBEFOR_TIME=-1\r\nAFTER_TIME=1e999\r\nVAL_X=1e999\r\n"
        "[SPEC]\r\nKANZAN=1e999,0.5,-1e999\r\nSAVEDATA_MAXNUM=0\r\nRING_BUF_MIN_SIZE=-5\r\n"
        "[SCALE]\r\nACC=0,5,10,20,50,100,300,-1\r\nACC_SEL=8\r\nACCZ_SEL=-1\r\n"
        "TIME=0,-2,4000,1e999\r\nTIME_SEL=4\r\n"
        "[PSD]\r\nXTYPE=6\r\nWINDOW_TYPE=-1\r\nHIPASSFILTER=1e999\r\n"
        "[SHIKI]\r\nP=1e999\r\n");
    const Settings& s = l->settings;
    EXPECT_EQ(s.beforTime, -1.0);  // finite: its users count it as no samples
    EXPECT_EQ(s.afterTime, 1.0);
    EXPECT_EQ(s.valX, 100.0);
    EXPECT_EQ(s.kanzan, (std::array<double, 3>{0.125, 0.5, 0.125}));
    EXPECT_EQ(s.savedataMaxnum, 30000);
    EXPECT_EQ(s.ringBufMinSize, -5);  // the ring sizing guards it
    EXPECT_EQ(s.acc[0], 2.0);
    EXPECT_EQ(s.acc[1], 5.0);
    EXPECT_EQ(s.acc[7], 999.0);
    EXPECT_EQ(s.accSel, 7);   // indexes are clamped into their tables
    EXPECT_EQ(s.acczSel, 0);
    EXPECT_EQ(s.time, (std::array<double, 4>{0, -2, 4000, 20}));
    EXPECT_EQ(s.timeSel, 3);
    EXPECT_EQ(s.xType, 5);
    EXPECT_EQ(s.windowType, 0);
    EXPECT_EQ(s.hipassFilter, 0.5);
    EXPECT_EQ(s.shikiP, 0.0);
    // Written back, the replacements are what the file then holds.
    FileProfileStore out = FileProfileStore::FromText(Saved(s));
    EXPECT_EQ(Key(out, "SCALE", "TIME"), "0.0,-2.0,4000.0,20.0");
    EXPECT_EQ(Key(out, "TRIG", "AFTER_TIME"), "1.0");
}

// Large but plausible values survive a load and a save unchanged (RING_BUF_MIN_SIZE=2000000 is
// about 5.5 hours of buffer).
TEST(SettingsWalk, PlausibleValuesSurviveARoundTrip) {
    std::string rows;
    for (int i = 1; i <= 1001; ++i) rows += "ACC_TABLE_" + std::to_string(i) + "=" + std::to_string(i) + ".0,1.0\r\n";
    const std::string text =
        "[TRIG]\r\nBEFOR_TIME=7200.0\r\nAFTER_TIME=4000.5\r\n"
        "[SPEC]\r\nRING_BUF_MIN_SIZE=2000000\r\n"
        "[SCALE]\r\nTIME=0.5,3600.0,7200.0,86400.0\r\nACC_TABLE_NUM=1001\r\n" + rows +
        "[PSD]\r\nHIPASSFILTER=80.0\r\n";
    auto l = Load(text);
    EXPECT_EQ(l->settings.accTable.rows.size(), 1001u);
    FileProfileStore out = FileProfileStore::FromText(Saved(l->settings, 1, text));
    for (const auto& [section, key, value] :
         {std::tuple{"TRIG", "BEFOR_TIME", "7200.0"}, std::tuple{"TRIG", "AFTER_TIME", "4000.5"},
          std::tuple{"SPEC", "RING_BUF_MIN_SIZE", "2000000"}, std::tuple{"SCALE", "TIME", "0.5,3600.0,7200.0,86400.0"},
          std::tuple{"SCALE", "ACC_TABLE_NUM", "1001"}, std::tuple{"SCALE", "ACC_TABLE_1001", "1001.0,1.0"},
          std::tuple{"PSD", "HIPASSFILTER", "80.0"}}) {
        EXPECT_EQ(Key(out, section, key), value) << key;
    }
}

TEST(SettingsWalk, MissingProfileDirectoryFallsBackToTheCurrentDirectory) {
    Settings s;
    int type = 0;
    FileProfileStore store = FileProfileStore::FromText("");
    ExchangeSettings(s, type, 0, store, [] { return std::optional<std::string>(); });
    EXPECT_EQ(s.saveDirectory, ".");
    ExchangeSettings(s, type, 0, store, nullptr);
    EXPECT_EQ(s.saveDirectory, ".");
}

TEST(PlacementRecord, StoredAsOriginAndSize) {
    FileProfileStore store = FileProfileStore::FromText("");
    CIniFile ini(store, "WNDPLACEMENT");
    WindowPlacementRecord r;
    r.showState = 1;
    r.normal = {100, 80, 740, 560};
    r.minX = r.minY = -1;
    r.maxX = -8;
    r.maxY = -30;
    r.Save(ini, "MAIN_WNDPLACEMENT");
    EXPECT_EQ(store.Text(), "[WNDPLACEMENT]\r\nMAIN_WNDPLACEMENT=1,100,80,640,480,-1,-1,-8,-30\r\n");
    WindowPlacementRecord back;
    back.Load(ini, "MAIN_WNDPLACEMENT");
    EXPECT_EQ(back.normal, r.normal);
    EXPECT_EQ(back.maxY, -30);
}

TEST(PlacementRecord, FewerThanNineValuesLeaveTheRecordAndMoreAreIgnored) {
    FileProfileStore store =
        FileProfileStore::FromText("[W]\r\nA=1,2,3,4,5,6,7,8\r\nB=3,10,20,30,40,1,2,3,4,99\r\n"
                                   "C=1,2147483647,0,2147483647,5,0,0,0,0\r\n");
    CIniFile ini(store, "W");
    WindowPlacementRecord r;
    r.normal = {5, 6, 7, 8};
    r.Load(ini, "A");
    EXPECT_EQ(r.normal, (PlacementRect{5, 6, 7, 8}));
    r.Load(ini, "B");
    EXPECT_EQ(r.showState, 3);
    EXPECT_EQ(r.normal, (PlacementRect{10, 20, 40, 60}));
    EXPECT_EQ(r.maxY, 4);
    r.Load(ini, "C");  // origin + size beyond int saturates instead of overflowing
    EXPECT_EQ(r.normal.right, 2147483647);
}

TEST(SettingsWalk, DamagedFilesLoadIntoUsableSettings) {
    std::string golden = config_test::ReadDataFile("default.ini");
    ASSERT_FALSE(golden.empty());
    std::mt19937 rng(4242);
    for (int round = 0; round < 150; ++round) {
        std::string text = golden;
        int edits = 1 + static_cast<int>(rng() % 30);
        for (int e = 0; e < edits; ++e) {
            size_t at = rng() % text.size();
            switch (rng() % 4) {
                case 0: text[at] = static_cast<char>(rng()); break;
                case 1: text.erase(at, rng() % 8); break;
                case 2: text.insert(at, 1, "-0x=,\"[]\r\n9e"[rng() % 12]); break;
                default: text.insert(at, "99999999999"); break;
            }
            if (text.empty()) text = "x";
        }
        auto l = Load(text);
        const Settings& s = l->settings;
        ASSERT_TRUE(s.bit == 12 || s.bit == 16);
        ASSERT_TRUE(s.accSel >= 0 && s.accSel <= 7 && s.acczSel >= 0 && s.acczSel <= 7);
        ASSERT_TRUE(s.timeSel >= 0 && s.timeSel <= 3);
        ASSERT_TRUE(s.xType >= 0 && s.xType <= 5 && s.windowType >= 0 && s.windowType <= 4);
        ASSERT_TRUE(std::isfinite(s.time[static_cast<size_t>(s.timeSel)]));
        ASSERT_TRUE(std::isfinite(s.beforTime) && std::isfinite(s.afterTime));
        ASSERT_GT(s.savedataMaxnum, 0);
        ASSERT_FALSE(s.accTable.rows.empty());
        ASSERT_FALSE(s.psdTable.rows.empty());
        for (const ScaleRow& row : s.psdTable.rows) ASSERT_GT(row.gridStep, 0.0);
        ASSERT_TRUE(std::isfinite(s.hipassFilter));
    }
    // Pure garbage and an oversized line.
    std::string garbage(32 * 1024, '\0');
    for (char& c : garbage) c = static_cast<char>(rng());
    EXPECT_EQ(Load(garbage)->settings.accTable.rows.size(), 13u);
    EXPECT_EQ(Load("[SPEC]\r\nCOM=" + std::string(1 << 20, 'C') + "\r\n")->settings.com.size(),
              size_t{1} << 20);
}

}  // namespace
