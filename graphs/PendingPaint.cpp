// What a graph's window still has to draw: the band of a batch, or the whole window.
#include "graphs/PendingPaint.h"

#include <algorithm>

namespace graphs {

bool PendingPaint::Invalidate(const ui::Rect* rect, bool appending, const ui::Rect& client) {
    if (!rect && (!appending || wholeInvalid_)) {
        wholeInvalid_ = true;
        return true;
    }
    const ui::Rect r = rect ? *rect : client;
    if (!bandPending_) {
        band_ = r;
    } else {
        band_ = {std::min(band_.left, r.left), std::min(band_.top, r.top), std::max(band_.right, r.right),
                 std::max(band_.bottom, r.bottom)};
    }
    bandPending_ = true;
    return false;
}

PendingPaint::Action PendingPaint::Take() {
    const bool band = bandPending_;
    bandPending_ = false;
    if (wholeInvalid_) return Action::UpdateWindow;  // the whole paint draws the band too
    return band ? Action::DrawBand : Action::Nothing;
}

}  // namespace graphs
