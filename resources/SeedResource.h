// Ids of the miniSEED dialog (resources/Seed.rc).
#pragma once

#define IDS_SEED 170          // system-menu item of the main window
#define IDM_SEED 0x0040       // its system-menu command (the low four bits are masked)

// miniSEED dialog
#define IDD_SEED 170
#define IDC_SEED_ARCHIVE 1700   // check box: the live archive on
#define IDC_SEED_ROOT 1701      // the archive's folder; empty: the data folder's SDS
#define IDC_SEED_BROWSE 1702    // "参照..."
#define IDC_SEED_NETWORK 1703
#define IDC_SEED_STATION 1704
#define IDC_SEED_LOCATION 1705
#define IDC_SEED_CHANNEL_X 1706
#define IDC_SEED_CHANNEL_Y 1707
#define IDC_SEED_CHANNEL_Z 1708
#define IDC_SEED_EXPORT 1709    // "CSV ファイルを変換...": the export of a chosen recording

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
