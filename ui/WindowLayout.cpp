// Anchored controls and a window widened and centred within the work area.
#include "ui/WindowLayout.h"

#include <algorithm>

namespace ui {

Anchor MovesWithCorner(int id, const Rect& rect) { return {id, rect, true, true, true, true}; }
Anchor MovesDown(int id, const Rect& rect) { return {id, rect, false, true, false, true}; }
Anchor Grows(int id, const Rect& rect) { return {id, rect, false, false, true, true}; }

Rect Anchored(const Anchor& a, int dx, int dy) {
    Rect r = a.rect;
    if (a.left) r.left += dx;
    if (a.right) r.right += dx;
    if (a.top) r.top += dy;
    if (a.bottom) r.bottom += dy;
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

Rect WidenAndCentre(const Rect& window, int extraWidth, const Rect& work, const Rect& around) {
    const int width = std::min(window.Width() + std::max(extraWidth, 0), work.Width());
    const int height = window.Height();
    int x = (around.left + around.right - width) / 2;
    int y = (around.top + around.bottom - height) / 2;
    x = std::max(work.left, std::min(x, work.right - width));
    y = std::max(work.top, std::min(y, work.bottom - height));
    return {x, y, x + width, y + height};
}

}  // namespace ui
