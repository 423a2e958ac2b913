// What a graph's window still has to draw, and how. While measuring, each batch changes a narrow
// band of a time graph and, ten times a second, a whole spectrum; under Wine an invalidation and
// UpdateWindow cost some eight server round trips (update region, visible region, the caret hidden
// and shown), a GetDC one. What a batch changes is therefore kept here and drawn straight into the
// window at its UpdateNow. Everything else, and whatever the system invalidates, goes through
// WM_PAINT.
#pragma once

#include "ui/WindowLayout.h"

namespace graphs {

class PendingPaint {
public:
    enum class Action {
        Nothing,      // nothing of ours waits
        UpdateWindow, // the whole window was invalidated: let WM_PAINT draw it now
        DrawBand,     // draw Band() straight into the window
    };

    // An invalidation of `rect` (null: the whole `client`). True when the window itself must be
    // invalidated: a whole repaint outside a batch (`appending` false), or while one is waiting
    // anyway. Otherwise the rectangle joins the band.
    [[nodiscard]] bool Invalidate(const ui::Rect* rect, bool appending, const ui::Rect& client);
    // At UpdateNow: what to do. Forgets the band, which the chosen action draws.
    [[nodiscard]] Action Take();
    // The rectangle of Action::DrawBand (client coordinates).
    const ui::Rect& Band() const { return band_; }
    // WM_PAINT drew the whole window.
    void Painted() { wholeInvalid_ = false; }

private:
    bool wholeInvalid_ = false;  // the whole window waits for WM_PAINT
    bool bandPending_ = false;   // band_ waits for the next Take
    ui::Rect band_;
};

}  // namespace graphs
