// Ids of the COM port search dialog (resources/SearchComPort.rc).
#pragma once

// COM port search dialog
#define IDD_SEARCH_COM_PORT 150
#define IDC_SEARCH_STATUS 1067    // the probe in progress or its result; empty at first
#define IDC_SEARCH_PROGRESS 1097  // position = index of the port being probed (0 for COM1)
#define IDC_SEARCH_HEADING 1096  // the heading; not -1, which is the message box text id
