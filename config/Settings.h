// The record of every persistent setting of Quorvel and the walk that loads or saves it.
#pragma once

#include "config/WindowPlacement.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CIniFile;
class IProfileStore;

// The saved placement of one window. In the file: show state, left, top, width, height, minimised
// x, y, maximised x, y, joined by commas.
struct WindowPlacementRecord {
    int showState = 0;     // the platform's show command; 3 = maximised
    PlacementRect normal;  // restored window, screen coordinates; all 0 until a placement is stored
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;

    // Reads the key of the file's current section; with fewer than 9 numbers the record stays.
    void Load(CIniFile& ini, const std::string& key);
    void Save(CIniFile& ini, const std::string& key) const;

    // Win32 only (config_win); `window` is an HWND. Capture stores the window's placement; Restore
    // puts the window back at the stored place, moved onto the nearest monitor.
    void Capture(void* window);
    void Restore(void* window, bool keepSize) const;
};

struct ScaleRow {
    double fullScale = 0;  // largest value the graph shows at this scale (gal for time graphs)
    double gridStep = 0;   // spacing of the horizontal graduations at that scale
};

// Rows in rising order of fullScale; after a load at least one row, every member > 0.
struct ScaleTable {
    std::vector<ScaleRow> rows;
};

// Colour triple: red, green, blue; users take the low 8 bits of each.
using ColorTriple = std::array<int, 3>;

// Every setting, with its INI section and key. Before the first load every number is 0, every text
// and table empty. After a load the values hold the guarantees noted beside them (docs/SETTINGS.md);
// values the operator wrote stay as they are otherwise, so users guard what they cannot work with
// (times and spans through app::SamplesForSeconds, ring sizes through app::RingCapacity).
struct Settings {
    WindowPlacementRecord mainPlacement;     // [WNDPLACEMENT] MAIN_WNDPLACEMENT
    WindowPlacementRecord settingPlacement;  // [WNDPLACEMENT] SETTING_WNDPLACEMENT

    int trigMode = 0;        // [TRIG] TRIG_MODE: trigger recording on (non-zero)
    double beforTime = 0;    // [TRIG] BEFOR_TIME: seconds saved before the trigger; finite
    double afterTime = 0;    // [TRIG] AFTER_TIME: seconds saved after the levels are undercut; finite
    double valX = 0;         // [TRIG] VAL_X: trigger level of X, gal; finite
    double valY = 0;         // [TRIG] VAL_Y; finite
    double valZ = 0;         // [TRIG] VAL_Z; finite

    int memoryDisp = 0;             // [SPEC] MEMORY_DISP: grid lines shown
    std::string com;                // [SPEC] COM: serial port name
    std::string saveDirectory;      // [SPEC] SAVE_DIRECTORY: data folder
    std::string lastSdDir;          // [SPEC] LAST_SD_DIR: folder of the last SD-card import
    std::array<double, 3> kanzan{}; // [SPEC] KANZAN: gal per AD count of X, Y, Z; finite
    int bit = 0;                    // [SPEC] BIT: 12 or 16 after a load

    int accAuto = 0;                // [SCALE] ACC_AUTO: automatic vertical scale
    std::array<double, 8> acc{};    // [SCALE] ACC: full-scale choices of X and Y, gal; each > 0
    int accSel = 0;                 // [SCALE] ACC_SEL: index into acc, 0..7
    std::array<double, 8> accz{};   // [SCALE] ACCZ: full-scale choices of Z, gal; each > 0
    int acczSel = 0;                // [SCALE] ACCZ_SEL: index into accz, 0..7
    std::array<double, 4> time{};   // [SCALE] TIME: display times, seconds; finite, may be 0 or less
    int timeSel = 0;                // [SCALE] TIME_SEL: index into time, 0..3
    ScaleTable accTable;            // [SCALE] ACC_TABLE_NUM, ACC_TABLE_n: time-graph scales
    ScaleTable psdTable;            // [SCALE] PSD_TABLE_NUM, PSD_TABLE_n: PSD-graph scales

    int psdFlg = 0;                 // [PSD] FLG: spectra on
    int xType = 0;                  // [PSD] XTYPE: frequency axis, 0..5
    int windowType = 0;             // [PSD] WINDOW_TYPE: window function, 0..4
    int hipassFilterFlg = 0;        // [PSD] HIPASSFILTER_FLG: high-pass filter on
    double hipassFilter = 0;        // [PSD] HIPASSFILTER: cut-off, Hz; finite, any sign or size

    int savedataMaxnum = 0;         // [SPEC] SAVEDATA_MAXNUM: samples per waveform file; > 0
    int ringBufMinSize = 0;         // [SPEC] RING_BUF_MIN_SIZE: least ring capacity; any int

    ColorTriple graphBack{};            // [COLOR] GRAPH_BACK
    ColorTriple psdGraphBack{};         // [COLOR] PSDGRAPH_BACK
    std::array<ColorTriple, 3> graphLine{};     // [COLOR] GRAPH_LINE1..3 (X, Y, Z)
    std::array<ColorTriple, 3> psdGraphLine{};  // [COLOR] PSDGRAPH_LINE1..3
    ColorTriple scaleLineHilight{};     // [COLOR] SCALE_LINE_HILIGHT
    ColorTriple scaleLineLight{};       // [COLOR] SCALE_LINE_LIGHT
    ColorTriple scaleLineDark{};        // [COLOR] SCALE_LINE_DARK
    ColorTriple cursorLine{};           // [COLOR] CURSOR_LINE
    ColorTriple moniMaxmin{};           // [COLOR] MONI_MAXMIN
    ColorTriple moniNow{};              // [COLOR] MONI_NOW
    ColorTriple moniPsdmax{};           // [COLOR] MONI_PSDMAX
    ColorTriple moniLowfilt{};          // [COLOR] MONI_LOWFILT
    ColorTriple moniTrig{};             // [COLOR] MONI_TRIG

    int logList = 0;                // [SPEC] LOG_LIST: event log list shown
    std::string title;              // [SPEC] TITLE: first part of the main window's title (CP932)

    double shikiP = 0;              // [SHIKI] P: threshold P, gal; finite
    double shikiN1 = 0;             // [SHIKI] N1; finite
    double shikiN2 = 0;             // [SHIKI] N2; finite
    double shikiN3 = 0;             // [SHIKI] N3; finite
    int valChange = 0;              // [SHIKI] VAL_CHANGE: threshold editing allowed
};

// Default of [SPEC] SETTING_WINDOW_TYPE, which lives beside the record (1 detailed, 0 simple).
constexpr int kDefaultSettingWindowType = 1;

// Default rows of the two scale tables (full scale, grid step).
extern const std::array<ScaleRow, 13> kDefaultAccRows;
extern const std::array<ScaleRow, 14> kDefaultPsdRows;

// The user's profile directory, or none when it cannot be determined.
using ProfileDirectoryFn = std::function<std::optional<std::string>()>;
// SAVE_DIRECTORY's default when the profile directory cannot be determined: the current directory.
constexpr const char* kFallbackSaveDirectory = ".";

// Loads (mode 0) or saves (mode 1) every setting, walking the keys section by section in one
// fixed order, so a file written from scratch lists them in that order. A load replaces values
// that no user could work with (docs/SETTINGS.md) and may delete a wrong-length ACC or ACCZ key.
// Failures are silent: unreadable keys load their defaults, failed writes are lost.
void ExchangeSettings(Settings& settings, int& settingWindowType, int mode, IProfileStore& store,
                      const ProfileDirectoryFn& profileDirectory);

// The same on the INI file at `path` through the portable file engine; an empty path reads every
// default and writes nothing.
void ExchangeSettings(Settings& settings, int& settingWindowType, int mode, const std::string& path,
                      const ProfileDirectoryFn& profileDirectory);

// The replacements a load applies to values that make no sense (docs/SETTINGS.md).
void ReplaceUnusableSettings(Settings& settings);
