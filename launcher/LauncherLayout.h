// Window and button geometry of the launcher, computed from caption extents and the margins.
#pragma once

#include <vector>

#include "launcher/LauncherConfig.h"

namespace launcher {

struct Size {
    int cx = 0;
    int cy = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct LauncherLayout {
    Size client;                  // client area size
    Rect window;                  // window rectangle in screen coordinates, centred on the desktop
    std::vector<Rect> buttons;    // client coordinates, one per shown button
};

// `captionExtents` holds the text extent of every shown caption (same order as config.buttons).
// `frame` is what AdjustWindowRect adds around a client rectangle of (0,0)-(0,0): left and top are
// zero or negative, right and bottom zero or positive. `desktop` is the desktop window's rectangle.
LauncherLayout ComputeLauncherLayout(const LauncherConfig& config, const std::vector<Size>& captionExtents,
                                     const Rect& frame, const Rect& desktop);

}  // namespace launcher
