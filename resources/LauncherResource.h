// Resource ids of the launcher.
#pragma once

#define IDS_LAUNCHER_CLASS 109  // window class name "LAUNCHER"; also the (absent) accelerator table id
