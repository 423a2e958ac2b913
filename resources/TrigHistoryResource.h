// Ids of the trigger history window (resources/TrigHistory.rc).
#pragma once

#define IDS_TRIG_HISTORY 160        // system-menu item of the main window
#define IDM_TRIG_HISTORY 0x0030     // its system-menu command (the low four bits are masked)

// Trigger history window
#define IDD_TRIG_HISTORY 160
#define IDC_HISTORY_LIST 1600       // report list of the trigger recordings
#define IDC_HISTORY_STATUS 1601     // count, or the progress of the background reading
#define IDC_HISTORY_PROGRESS 1602   // shown while the history is being read
#define IDC_HISTORY_LOAD 1603       // "読み込み": the selected recording's file for review
#define IDC_HISTORY_EXPORT 1604     // "CSV出力..."
