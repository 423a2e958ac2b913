// Placement rules of resizable windows, free of the platform: controls anchored to the edges of a
// client area that grows or shrinks, and a window fitted into the screen's work area.
#pragma once

namespace ui {

// A rectangle in pixels; right and bottom lie just outside it.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const Rect& o) const { return !(*this == o); }
};

// A control's place at the client area's first size, and which of its edges follow the client
// area's right and bottom edges (the others stay).
struct Anchor {
    int id = 0;
    Rect rect;
    bool left = false, top = false, right = false, bottom = false;
};
// Anchors of common kinds: moves with the bottom-right corner, moves down, grows both ways.
[[nodiscard]] Anchor MovesWithCorner(int id, const Rect& rect);
[[nodiscard]] Anchor MovesDown(int id, const Rect& rect);
[[nodiscard]] Anchor Grows(int id, const Rect& rect);

// The control's place once the client area is dx wider and dy taller than at first; a control
// that would turn inside out keeps no width or height instead.
[[nodiscard]] Rect Anchored(const Anchor& anchor, int dx, int dy);

// The window `window` made `extraWidth` wider (never narrower) but no wider than the work area,
// centred on `around` and then moved fully into the work area as far as it fits.
[[nodiscard]] Rect WidenAndCentre(const Rect& window, int extraWidth, const Rect& work, const Rect& around);

}  // namespace ui
