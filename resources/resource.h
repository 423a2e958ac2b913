// Resource and control ids of Quorvel. Where an id is fixed by files or other programs, that number
// is its value.
#pragma once

// Strings
#define IDS_ABOUTBOX 101          // system-menu item of the About box

// Icons
#define IDI_QUORVEL 128

// Main window
#define IDD_QUORVEL_DIALOG 102
#define IDM_ABOUTBOX 0x0010       // system-menu command of the About box
