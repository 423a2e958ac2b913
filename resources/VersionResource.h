// Resource and control ids of the version information, the version dialog and the About box.
#pragma once

// About box (system menu of the main window)
#define IDD_ABOUTBOX 100

// Version dialog (settings dialog's "バージョン情報" button)
#define IDD_VERSION_DIALOG 140
#define IDC_VERSION_FILENAME 1067     // file name of the running executable
#define IDC_VERSION_FILEVERSION 1068  // FileVersion of the version resource
#define IDC_VERSION_COMPANY 1069      // CompanyName of the version resource
#define IDC_VERSION_FILEDATE 1070     // last-write time of the executable

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
