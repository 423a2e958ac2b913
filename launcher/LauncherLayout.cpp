// Launcher geometry: every button is as wide as the widest caption plus four text heights and
// twice the text height tall; the window wraps the column with the margins and is centred.
#include "launcher/LauncherLayout.h"

#include <algorithm>

namespace launcher {

LauncherLayout ComputeLauncherLayout(const LauncherConfig& config, const std::vector<Size>& captionExtents,
                                     const Rect& frame, const Rect& desktop) {
    int widest = 0;
    int tallest = 0;
    for (const Size& s : captionExtents) {
        widest = std::max(widest, s.cx);
        tallest = std::max(tallest, s.cy);
    }
    const int bw = widest + 4 * tallest;
    const int bh = 2 * tallest;
    const int count = config.ShownButtons();

    LauncherLayout layout;
    layout.client.cx = config.leftMargin + config.rightMargin + bw;
    layout.client.cy = (bh + config.spaceY) * count + config.topMargin + config.bottomMargin - config.spaceY;

    const int w = layout.client.cx + frame.right - frame.left;
    const int h = layout.client.cy + frame.bottom - frame.top;
    // Integer division truncates toward zero, as the centring has always done.
    const int x = (desktop.left + desktop.right - w) / 2;
    const int y = (desktop.top + desktop.bottom - h) / 2;
    layout.window = Rect{x, y, x + w, y + h};

    for (int n = 0; n < count; ++n) {
        const int top = config.topMargin + n * (bh + config.spaceY);
        layout.buttons.push_back(Rect{config.leftMargin, top, config.leftMargin + bw, top + bh});
    }
    return layout;
}

}  // namespace launcher
