// The registered messages a graph sends to its monitor. All carry lParam 0 and their handlers
// return 0.
#pragma once

#include <windows.h>

// Sent by a graph to its monitor when its x range or frequency axis changed; wParam axis.
extern const UINT MSG_3A95FBE5;
// Sent by a graph to its monitor when its y range changed; wParam axis.
extern const UINT MSG_3563518B;
// Sent by a graph to its monitor on a right click; wParam axis.
extern const UINT MSG_60DE7150;
