// The start/stop pictures, loaded once with their grey corners turned into the button face colour.
#pragma once

#include <windows.h>

// The picture of bitmap resource `id` (IDB_START or IDB_END) as a 32-bit image; loaded on first use
// and kept for the rest of the run. Null when the resource cannot be loaded.
HBITMAP ButtonPicture(int id);
