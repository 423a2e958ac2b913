// Segments and their start times.
#include "seed/SampleClock.h"

#include <algorithm>

namespace seed {

void SampleClock::Reset() { *this = SampleClock(); }

Ticks SampleClock::Joined(Ticks estimate) const {
    Ticks start = estimate;
    if (hasPrevious_) {
        const Ticks after = estimate - previousEnd_;
        if ((after >= 0 && after * 2 <= kTicksPerSample) || (after < 0 && -after < kTolerance)) start = previousEnd_;
    }
    return start;
}

SampleClock::Placement SampleClock::Place(Ticks arrival, bool breakBefore) {
    bool begin = !started_ || breakBefore;
    if (!begin) {
        const Ticks late = arrival - TimeOf(count_);
        if (late < -kTolerance && settled_) begin = true;
        if (settled_ && !begin) {
            windowMin_ = windowCount_ == 0 ? late : std::min(windowMin_, late);
            if (++windowCount_ == kWindow) {
                windowCount_ = 0;
                begin = windowMin_ > kTolerance;
            }
        }
    }
    if (begin) {
        if (started_) {
            hasPrevious_ = true;
            previousEnd_ = TimeOf(count_);
        }
        started_ = true;
        settled_ = false;
        count_ = 0;
        windowCount_ = 0;
        estimate_ = arrival;
        start_ = Joined(estimate_);
    } else if (!settled_) {
        estimate_ = std::min(estimate_, arrival - count_ * kTicksPerSample);
        start_ = Joined(estimate_);
    }
    const Placement placed{begin, count_++};
    if (count_ == kSettle) settled_ = true;
    return placed;
}

}  // namespace seed
