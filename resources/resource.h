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
