// Resource and control ids of Quorvel's main window and control panel. Where an id is fixed by
// files or other programs, that number is its value. Other dialogs keep their ids in their own
// *Resource.h beside their .rc file.
#pragma once

#define IDC_STATIC (-1)

// Strings
#define IDS_ABOUTBOX 101          // system-menu item of the About box
#define IDS_SAVE_PICTURE 102      // system-menu item that saves the window as a picture

// Icons and pictures
#define IDI_QUORVEL 128
#define IDB_START 135             // start/stop button while idle ("Start"), 100 x 52, 24-bit
#define IDB_END 136               // start/stop button while measuring ("End")

// Main window
#define IDD_QUORVEL_DIALOG 102
#define IDM_ABOUTBOX 0x0010       // system-menu command of the About box
#define IDM_SAVE_PICTURE 0x0020   // system-menu command "画像保存..."

// Child panes of the main window
#define IDD_BTN_DIALOG 130        // control panel
#define IDD_GRAPH_MONI 132        // time-waveform monitor
#define IDD_PSD_MONI 134          // PSD monitor

// Control panel (IDD_BTN_DIALOG)
#define IDC_RECORD 1004           // "記録/停止"
#define IDC_SETTINGS 1005         // "設定"
#define IDC_PPCLEAR 1010          // "ＰＰクリア"
#define IDC_LOAD_DATA 1011        // "データ読み込み"
#define IDC_LOAD_SD 1012          // "ＳＤ読み込み"
#define IDC_PRINT 1013            // "印刷"
#define IDC_START_STOP 1038       // "スタート/停止", with a picture
#define IDC_LAMP_COM_POS 1040     // hidden: position of the COM lamp
#define IDC_LAMP_REC_POS 1041     // hidden: position of the record lamp
#define IDC_LAMP_TRIG_POS 1042    // hidden: position of the trigger lamp
#define IDC_LABEL_XY 1048
#define IDC_LABEL_Z 1049
#define IDC_LABEL_LOWPASS 1050
#define IDC_LABEL_HZ 1051
#define IDC_LOG_LIST 1052
#define IDC_STATUS_TEXT 1053      // "COM状態"
#define IDC_UNIT_XY 1054
#define IDC_UNIT_Z 1055
#define IDC_LOWPASS 1098          // the recorder's low-pass setting
#define IDC_TRIG_MODE 1100        // "トリガ記録"
#define IDC_LEVEL_XY 1101         // [TRIG] VAL_X
#define IDC_LEVEL_Z 1102          // [TRIG] VAL_Z
#define IDC_LAMP 4000             // the three lamps

// Time-waveform monitor (IDD_GRAPH_MONI); per axis i = 0, 1, 2 the id is the base + i unless a
// list is given. The value fields and graphs are created at run time with their own ids.
#define IDC_GM_GRAPH_FRAME 2001   // hidden placeholders of the graphs
#define IDC_GM_Y_TOP 1081         // "999999": yMax
#define IDC_GM_Y_BOTTOM 1091      // "999999": yMin
#define IDC_GM_UNIT 1061          // "(Gal)"
#define IDC_GM_LETTER_X 1074      // "X"
#define IDC_GM_LETTER_Y 1076      // "Y"
#define IDC_GM_LETTER_Z 1077      // "Z"
#define IDC_GM_X_LEFT 2051        // "0.0 (sec)"
#define IDC_GM_X_RIGHT 2041       // display time
#define IDC_GM_MAX_FRAME 2011     // hidden placeholders of the value fields
#define IDC_GM_NOW_FRAME 2031
#define IDC_GM_MIN_FRAME 2021
#define IDC_GM_TRIG_FRAME 2024
#define IDC_GM_ZERO_X 1090        // "0.0" beside the zero line of X, Y, Z
#define IDC_GM_ZERO_Y 1094
#define IDC_GM_ZERO_Z 1095
#define IDC_GM_T_UPPER 1084       // "T" at +level
#define IDC_GM_T_LOWER 1087       // "T" at −level
#define IDC_GM_SCROLL 1068        // review position
#define IDC_GM_DATE 2046          // review date
#define IDC_GM_TIME 2044          // review time of day
#define IDC_GRAPH 1000            // graphs of both monitors: 1000 + axis
#define IDC_GM_MAX 2000           // value fields: maximum, minimum, current, trigger marker (+ axis)
#define IDC_GM_MIN 2100
#define IDC_GM_NOW 2200
#define IDC_GM_TRIG 2300

// PSD monitor (IDD_PSD_MONI); per axis i the id is the base + i unless a list is given. Its graphs
// take IDC_GRAPH + i; its frequency and value fields both take IDC_PM_FIELD + i.
#define IDC_PM_GRAPH_FRAME 2001   // hidden placeholders of the graphs
#define IDC_PM_Y_TOP 1081         // yMax
#define IDC_PM_Y_BOTTOM 1091      // yMin
#define IDC_PM_UNIT 1061          // "(Gal)" under the top label
#define IDC_PM_LETTER_X 1080      // "X"
#define IDC_PM_LETTER_Y 1084      // "Y"
#define IDC_PM_LETTER_Z 1085      // "Z"
#define IDC_PM_X_LEFT 2051        // fMin "(Hz)"
#define IDC_PM_X_RIGHT 2041       // fMax
#define IDC_PM_CAPTION 2061       // "Max"
#define IDC_PM_UNIT_HZ 1074       // "(Hz)" beside the frequency field
#define IDC_PM_UNIT_GAL 1077      // "(Gal)" beside the value field
#define IDC_PM_FREQ_FRAME 2011    // hidden placeholders of the two fields
#define IDC_PM_VALUE_FRAME 2014
#define IDC_PM_DECADE_1 2047      // "1.0" under the logarithmic axis
#define IDC_PM_DECADE_10 2044     // "10.0"
#define IDC_PM_FIELD 2000
